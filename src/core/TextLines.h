#pragma once
// Line lists kept as text files in code page 932 with CR LF after each line: the phrase and
// bookmark lists (Comment.txt, Shiori.txt) and the saved error log.

#include <QString>
#include <QStringList>

// The lines of the file; empty when it is missing or cannot be read. CR LF, LF and a lone CR
// all end a line; a line break at the end of the file does not add an empty line.
QStringList readCp932Lines(const QString& path);

// Writes every line followed by CR LF, replacing the file whole (a failure leaves the old file
// as it was). An empty list writes an empty file. False when the file could not be written.
bool writeCp932Lines(const QString& path, const QStringList& lines);

// The lines of a code page 932 text, split as readCp932Lines does.
QStringList splitCp932Lines(const QByteArray& bytes);
