#include "core/FileNames.h"

#include "core/DateTimeText.h"

namespace {

QString num(int n) {
    return QString::number(n);
}

QString datePart(const QDate& date) {
    return QLatin1Char('_') + num(date.year()) + QLatin1Char('_') + num(date.month()) +
           QLatin1Char('_') + num(date.day());
}

} // namespace

QString volumePdfName(const QString& hpCode, int patientNo, int volumeNo, bool writeDate,
                      const QString& kaCode, const QDate& date) {
    QString name = QStringLiteral("HP") + hpCode + QLatin1Char('_') + num(patientNo) +
                   QLatin1Char('_') + num(volumeNo);
    if (writeDate)
        name += datePart(date);
    return name + QLatin1Char('_') + kaCode + QStringLiteral(".pdf");
}

QString sendPdfName(int patientNo, int volumeNo, const QString& kaCode, bool writeDate,
                    const QDateTime& at) {
    QString name = QStringLiteral("ID_") + num(patientNo) + QLatin1Char('_') + num(volumeNo) +
                   QLatin1Char('_') + kaCode;
    if (writeDate) {
        const QTime t = at.time();
        name += datePart(at.date()) + QLatin1Char('_') + num(t.hour()) + QLatin1Char('_') +
                num(t.minute()) + QLatin1Char('_') + num(t.second());
    }
    return name + QStringLiteral(".pdf");
}

QString activityLogStamp(const QDateTime& at) {
    QString text = dateTimeText(at);
    text.remove(QLatin1Char('/')).remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
    return text;
}
