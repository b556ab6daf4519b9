#include "core/SettingsFile.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Every file the fuzzer kept (seeds and reproducers of mended faults) goes through its
// contract once more; a breach aborts the program.
TEST(SettingsFileCorpus, EveryInputKeepsTheContract) {
    const QDir corpus(QStringLiteral(TOVANE_FUZZ_CORPUS "/settings"));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const QByteArray bytes = readFile(corpus.filePath(name));
        SCOPED_TRACE(name.toStdString());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               size_t(bytes.size()));
    }
    SettingsFile seed;
    ASSERT_TRUE(seed.load(corpus.filePath(QStringLiteral("v5-utf16.reg"))));
    EXPECT_EQ(seed.text(QStringLiteral("Target")), QStringLiteral("/home/user/カルテ/"));
}

} // namespace
