#include "core/DateTimeText.h"

// Built from numbers rather than QLocale so the texts stay the same under any locale.

QString shortDateText(const QDate& date) {
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString longTimeText(const QTime& time) {
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString dateTimeText(const QDateTime& dateTime) {
    return shortDateText(dateTime.date()) + QLatin1Char(' ') + longTimeText(dateTime.time());
}
