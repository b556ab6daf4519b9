#pragma once
// The subcommands of chartpdf. Each takes the arguments after its name and returns the
// process exit code: 0 done, 1 refused or failed (the message is on standard error),
// 2 wrong arguments.

#include <QStringList>

int infoCommand(const QStringList& args);
int extractCommand(const QStringList& args);
int writeCommand(const QStringList& args);

// Standard output and standard error as UTF-8 lines.
void printOut(const QString& line);
void printError(const QString& line);
