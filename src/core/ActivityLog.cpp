#include "core/ActivityLog.h"

#include "core/Cp932.h"
#include "core/DateTimeText.h"

ActivityLog::ActivityLog() : clock_([] { return QDateTime::currentDateTime(); }) {}

ActivityLog::~ActivityLog() {
    close();
}

bool ActivityLog::open(const QString& path) {
    close();
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Append);
}

void ActivityLog::close() {
    if (file_.isOpen())
        file_.close();
}

bool ActivityLog::writeTimed(const QString& text) {
    return writeUntimed(dateTimeText(clock_()) + QLatin1Char(' ') + text);
}

bool ActivityLog::writeUntimed(const QString& text) {
    if (!file_.isOpen())
        return false;
    const QByteArray line = toCp932(text) + "\r\n";
    // Flushed at once: the log records which chart files were made or erased, and must not
    // lose that when the program ends abnormally.
    return file_.write(line) == line.size() && file_.flush();
}
