#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <vector>

#include "app/TimeFormatWithoutZone.h"

namespace {

TEST(TimeFormatWithoutZone, DropsTheZoneWithItsSeparatorAndBrackets) {
  struct Case {
    const char* format;
    const char* expected;
  };
  // Long time formats of real locales, and quoted text.
  const std::vector<Case> cases = {
      {"HH:mm:ss t", "HH:mm:ss"},                                    // C, de_DE
      {"h:mm:ss AP t", "h:mm:ss AP"},                                // en_US
      {"t HH:mm:ss", "HH:mm:ss"},                                    // zh_CN
      {"Bh:mm:ss [t]", "Bh:mm:ss"},                                  // zh_TW
      {"H:mm:ss (t)", "H:mm:ss"},                                    // es_ES
      {"h:mm:ss AP, t", "h:mm:ss AP"},                               // sq_AL
      {"H:mm:ss 'ч'. t", "H:mm:ss 'ч'."},                            // bg_BG
      {"HH 'h' mm 'min' ss 's' t", "HH 'h' mm 'min' ss 's'"},        // fr_CA
      {"HH:mm:ss tttt", "HH:mm:ss"},                                 // the long zone name
      {"HH:mm:ss 'at' 'tea''time' t", "HH:mm:ss 'at' 'tea''time'"},  // quoted t stays
      {"HH:mm:ss", "HH:mm:ss"},
      {"", ""},
      {"t", ""},
      {"HH:mm 'open", "HH:mm 'open"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeFormatWithoutZone(QString::fromUtf8(c.format)), QString::fromUtf8(c.expected))
        << c.format;
  }
}

TEST(TimeFormatWithoutZone, EveryLocaleStillWritesItsSecondsButNoZone) {
  const QDateTime moment(QDate(2024, 1, 15), QTime(13, 4, 5), QTimeZone(3600));
  for (const QLocale& locale :
       QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    const QString format = TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
    const QString time = locale.toString(moment, format);
    EXPECT_FALSE(time.contains(locale.toString(moment, QStringLiteral("t"))))
        << locale.name().toStdString() << ": " << time.toStdString();
    EXPECT_TRUE(time.contains(locale.toString(moment, QStringLiteral("s"))))
        << locale.name().toStdString() << ": " << time.toStdString();
    EXPECT_EQ(time, time.trimmed()) << locale.name().toStdString();
  }
}

}  // namespace
