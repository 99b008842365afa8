#pragma once
// The system's long time format as the diagnostic log writes it: hours, minutes and seconds
// in the locale's own form, without the time-zone name Qt's long format adds.

#include <QString>

// timeFormat (a QLocale time format) without its time-zone fields, the brackets around one,
// and the blanks or comma that separate one from the rest. Quoted text stays as it is.
QString TimeFormatWithoutZone(const QString& timeFormat);
