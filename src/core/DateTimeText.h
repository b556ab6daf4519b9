#pragma once
// Date and time texts with the Japanese regional defaults: short date yyyy/MM/dd, long time
// H:mm:ss. Logs, stamps and send headers use them.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

QString shortDateText(const QDate& date);        // 2011/05/06
QString longTimeText(const QTime& time);         // 9:03:07
QString dateTimeText(const QDateTime& dateTime); // 2011/05/06 9:03:07
