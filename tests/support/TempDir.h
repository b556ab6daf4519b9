#pragma once
// Small file helpers for tests.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir() { dir_.setAutoRemove(true); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
