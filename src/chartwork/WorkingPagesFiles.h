#pragma once
// The files behind the working pages: which files of the Scanner folder are pages, emptying
// the folder, names of stored pages, and copying image files in.

#include <QString>
#include <QStringList>

// "ファイル形式|" followed by the patterns of the enabled types, in the order JPEG, TIFF,
// BMP, PNG; empty text when none is enabled.
QString imageFileFilter(bool jpeg, bool tiff, bool bitmap, bool png);

// The name patterns after the "|" of a filter ("*.jpg", "*.Jpeg", ...).
QStringList filterPatterns(const QString& filter);

// The plain files of `folder` whose names match one of `patterns` (compared without regard
// to case), sorted by name without regard to case (names equal but for case in byte order).
QStringList matchingFiles(const QString& folder, const QStringList& patterns);

// Deletes the plain files of `folder`: hidden files and folders are left alone; a read-only
// file loses that attribute first; failures are ignored.
void emptyFolder(const QString& folder);

// A page image name taken from a stored chart PDF becomes a file name in the Scanner
// folder. Throws PageError, naming it, when it cannot stand as one plain file name there: it
// is empty, holds a path separator, "..", a control character or a character that is not
// allowed in a Windows file name, or is too long.
void checkStoredImageName(const QString& name);

// Copies `source` into `folder` under its own name, replacing a file of that name whole (a
// temporary copy renamed over it), and clears the read-only attribute of the copy. Returns
// false when the copy failed; the folder then holds what it held before.
bool copyIntoFolder(const QString& source, const QString& folder);
