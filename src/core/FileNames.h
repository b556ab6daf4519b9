#pragma once
// The names of the files the system writes: the chart PDF of a volume, the one-page PDF of a
// send, and the stamp of the activity log file.

#include <QDate>
#include <QDateTime>
#include <QString>

// "HP" + hpCode + "_" + patientNo + "_" + volumeNo [+ "_" + y + "_" + m + "_" + d] + "_" +
// kaCode + ".pdf"; the date part only when writeDate is on, numbers without leading zeros.
QString volumePdfName(const QString& hpCode, int patientNo, int volumeNo, bool writeDate,
                      const QString& kaCode, const QDate& date);

// "ID_" + patientNo + "_" + volumeNo + "_" + kaCode [+ "_" + y + "_" + m + "_" + d + "_" + h +
// "_" + min + "_" + s] + ".pdf"; the date and time part only when writeDate is on.
QString sendPdfName(int patientNo, int volumeNo, const QString& kaCode, bool writeDate,
                    const QDateTime& at);

// The date-time text with every "/", " " and ":" removed: 9:05:07 on 2011-05-06 gives
// "2011050690507".
QString activityLogStamp(const QDateTime& at);
