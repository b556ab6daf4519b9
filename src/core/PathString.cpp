#include "core/PathString.h"

#include "core/Registory.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr int kFolderModulus = 100000000;
}

QString toNativePath(const QString& systemPath) {
    QString path = systemPath;
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString toSystemPath(const QString& nativePath) {
    QString path = nativePath;
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// The base starts as the home folder, this platform's counterpart of "C:\"; every user
// assigns it from the settings before building a path.
TPathString::TPathString() : Base(QDir::homePath() + QLatin1Char('/')) {
    const char* prefixes[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i)
        Front[i] = QString::fromLatin1(prefixes[i]);
}

void TPathString::SetNumber(int patientNo) {
    // A negative number (never a valid patient number) still gets eight digits rather than a
    // folder named after a minus sign.
    number_ = ((patientNo % kFolderModulus) + kFolderModulus) % kFolderModulus;
}

QString TPathString::RelativeFolder() const {
    const QString digits = QStringLiteral("%1").arg(number_, 8, 10, QLatin1Char('0'));
    QString folder;
    for (int level = 0; level < 4; ++level)
        folder += QLatin1Char('\\') + Front[level] + digits.mid(level * 2, 2) + Back[level];
    return folder;
}

QString TPathString::FullFolder() const {
    return reduceSeparators(toSystemPath(Base) + RelativeFolder());
}

QString reduceSeparators(const QString& systemPath) {
    const QLatin1Char sep('\\');
    // A base such as \\server\share\ names a network share; collapsing its leading pair would
    // turn it into a folder of the current drive.
    const bool share = systemPath.startsWith(QStringLiteral("\\\\")) && systemPath.size() > 2 &&
                       systemPath.at(2) != sep;
    QString out;
    out.reserve(systemPath.size());
    if (share)
        out += sep;
    for (qsizetype i = 0; i < systemPath.size(); ++i) {
        if (systemPath.at(i) == sep && i + 1 < systemPath.size() && systemPath.at(i + 1) == sep)
            continue;
        out += systemPath.at(i);
    }
    return out;
}

void setFolderRule(TPathString& path, const TRegistory& settings) {
    path.Base = settings.Target;
    path.Front[0] = settings.L1Front;
    path.Back[0] = settings.L1Back;
    path.Front[1] = settings.L2Front;
    path.Back[1] = settings.L2Back;
    path.Front[2] = settings.L3Front;
    path.Back[2] = settings.L3Back;
    path.Front[3] = settings.L4Front;
    path.Back[3] = settings.L4Back;
}

bool TDirFile::EnsureFolder() const {
    const QString folder = toNativePath(FullFolder());
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkpath(folder);
}
