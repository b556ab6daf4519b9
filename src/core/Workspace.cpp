#include "core/Workspace.h"

#include "core/FileNames.h"

#include <QCoreApplication>
#include <QDir>

QString programDir() {
    QString dir = qEnvironmentVariable("TOVANE_PROGRAM_DIR");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    // Absolute, so that paths handed to other programs (the help viewer) mean the same there.
    dir = QDir(QDir::fromNativeSeparators(dir)).absolutePath();
    // cleanPath keeps "/" for the root folder; every path is built as dir + "/Name".
    if (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

QString Workspace::activityLogFile(const QDateTime& start) const {
    return logDir() + QStringLiteral("/Log") + activityLogStamp(start) + QStringLiteral(".txt");
}
