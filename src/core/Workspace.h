#pragma once
// The folders and files that the workstation keeps beside the program file.

#include <QDateTime>
#include <QString>

// The program folder: $TOVANE_PROGRAM_DIR when set (tests, the demo workspace, installs into
// read-only folders), else the folder of the program file. Native ("/") form, no trailing
// separator.
QString programDir();

// The workspace below a program folder. Every path is in native form.
struct Workspace {
    QString programDir;

    static Workspace current() { return Workspace{::programDir()}; }

    QString scannerDir() const { return programDir + QStringLiteral("/Scanner"); }
    QString databaseDir() const { return programDir + QStringLiteral("/Database"); }
    QString indexFile() const { return databaseDir() + QStringLiteral("/WembaTovaneDb.sqb"); }
    QString importDir() const { return programDir + QStringLiteral("/Import"); }
    QString logDir() const { return programDir + QStringLiteral("/Log"); }
    QString exportDir() const { return programDir + QStringLiteral("/Export"); }
    QString paperDir() const { return programDir + QStringLiteral("/Paper"); }
    QString commentFile() const { return programDir + QStringLiteral("/Comment.txt"); }
    QString shioriFile() const { return programDir + QStringLiteral("/Shiori.txt"); }
    QString helpFile() const { return programDir + QStringLiteral("/TovaneFileLite.chm"); }
    // Log/Log<stamp>.txt for a run started at `start`.
    QString activityLogFile(const QDateTime& start) const;
};
