#include "core/TextLines.h"

#include "core/Cp932.h"
#include "core/WholeFile.h"

#include <QFile>

QStringList splitCp932Lines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    // CR and LF never occur as the trail byte of a double-byte character, so splitting the
    // bytes before conversion is safe.
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines << fromCp932(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << fromCp932(bytes.mid(start));
    return lines;
}

QStringList readCp932Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return splitCp932Lines(file.readAll());
}

bool writeCp932Lines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toCp932(line) + "\r\n";
    return writeWholeFile(path, bytes);
}
