#include "app/TimeFormatWithoutZone.h"

namespace {

bool isSeparator(QChar c) { return c.isSpace() || c == u','; }

QChar closingBracket(QChar opening) {
  if (opening == u'(') return u')';
  if (opening == u'[') return u']';
  return {};
}

}  // namespace

QString TimeFormatWithoutZone(const QString& timeFormat) {
  QString result;
  qsizetype i = 0;
  while (i < timeFormat.size()) {
    const QChar c = timeFormat[i];
    if (c == u'\'') {
      // Quoted text, up to and with its closing quote; '' is a quote and comes out as it is.
      const qsizetype close = timeFormat.indexOf(u'\'', i + 1);
      const qsizetype end = close < 0 ? timeFormat.size() : close + 1;
      result += timeFormat.mid(i, end - i);
      i = end;
      continue;
    }
    if (c != u't') {
      result += c;
      ++i;
      continue;
    }
    while (i < timeFormat.size() && timeFormat[i] == u't') ++i;
    const QChar close = result.isEmpty() ? QChar() : closingBracket(result.back());
    if (!close.isNull() && i < timeFormat.size() && timeFormat[i] == close) {
      result.chop(1);
      ++i;
    }
    while (!result.isEmpty() && isSeparator(result.back())) result.chop(1);
    if (result.isEmpty()) {
      while (i < timeFormat.size() && isSeparator(timeFormat[i])) ++i;
    }
  }
  return result;
}
