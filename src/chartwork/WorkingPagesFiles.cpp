#include "chartwork/WorkingPagesFiles.h"

#include "chartwork/WorkingPages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

QString imageFileFilter(bool jpeg, bool tiff, bool bitmap, bool png) {
    QString patterns;
    if (jpeg)
        patterns += QStringLiteral("*.jpg;*.Jpeg;");
    if (tiff)
        patterns += QStringLiteral("*.tif;*.tiff;");
    if (bitmap)
        patterns += QStringLiteral("*.bmp;");
    if (png)
        patterns += QStringLiteral("*.png;");
    return patterns.isEmpty() ? QString() : QStringLiteral("ファイル形式|") + patterns;
}

QStringList filterPatterns(const QString& filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {};
    return filter.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

QStringList matchingFiles(const QString& folder, const QStringList& patterns) {
    QList<QRegularExpression> matchers;
    for (const QString& pattern : patterns)
        matchers.append(
            QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                   pattern, QRegularExpression::UnanchoredWildcardConversion),
                               QRegularExpression::CaseInsensitiveOption));
    QStringList names;
    const QStringList all = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : all) {
        for (const auto& matcher : matchers) {
            const auto m = matcher.match(name);
            if (m.hasMatch() && m.capturedStart() == 0 && m.capturedLength() == name.size()) {
                names.append(name);
                break;
            }
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

void emptyFolder(const QString& folder) {
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    QStringList paths;
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() && !entry.exists())
            continue;
        if (!entry.isWritable())
            QFile::setPermissions(entry.filePath(), entry.permissions() | QFileDevice::WriteOwner);
        paths.append(entry.filePath());
    }
    for (const QString& path : paths)
        QFile::remove(path);
}

void checkStoredImageName(const QString& name) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    bool bad = name.isEmpty() || name.contains(QStringLiteral("..")) ||
               (name + QStringLiteral(".jpg")).toUtf8().size() > 255;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            bad = true;
    if (bad)
        throw PageError(QStringLiteral("ページの画像名が正しくありません。\n") + name);
}

bool copyIntoFolder(const QString& source, const QString& folder) {
    const QString target = QDir(folder).filePath(QFileInfo(source).fileName());
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile out(QDir(folder).filePath(QStringLiteral(".copy-XXXXXX")));
    if (!out.open())
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(chunk) != chunk.size())
            return false;
    }
    if (!out.flush())
        return false;
    // The copy takes the source's permissions, less a read-only mark.
    out.setPermissions(in.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    std::error_code error;
    std::filesystem::rename(out.fileName().toStdString(), target.toStdString(), error);
    if (error)
        return false;
    out.setAutoRemove(false);
    return true;
}
