#include "support/SaneTestBackend.h"

#include "support/TempDir.h"

#include <QTemporaryDir>

namespace {

const QTemporaryDir& configDir() {
    static QTemporaryDir dir;
    static const bool set = qputenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
    (void)set;
    return dir;
}

} // namespace

void useSaneTestBackend(const QStringList& testConfLines) {
    const QTemporaryDir& dir = configDir();
    writeFile(dir.filePath(QStringLiteral("dll.conf")), "test\n");
    QStringList conf{QStringLiteral("number_of_devices 1")};
    conf += testConfLines;
    writeFile(dir.filePath(QStringLiteral("test.conf")), conf.join('\n').toUtf8() + '\n');
}

void removeSaneTestBackend() {
    writeFile(configDir().filePath(QStringLiteral("dll.conf")), "");
}
