#include "PdfTestBuilder.h"

#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Every file the fuzzer kept (seeds and reproducers of mended faults) goes through its
// contract once more; a breach aborts the program.
TEST(PdfFuzzCorpus, EveryInputKeepsTheContract) {
    const QDir corpus(QStringLiteral(TOVANE_CHARTPDF_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = readFile(corpus.filePath(name));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               size_t(bytes.size()));
    }
}

// Writes the seed corpus when TOVANE_WRITE_CHARTPDF_SEEDS names a folder.
TEST(PdfFuzzCorpus, WritesSeeds) {
    const QString dir = qEnvironmentVariable("TOVANE_WRITE_CHARTPDF_SEEDS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set TOVANE_WRITE_CHARTPDF_SEEDS to write the seeds";
    ChartPdfFixture three = threePageChart();
    for (auto& page : three.pageList)
        page.jpeg = fakeJpeg(120);
    writeFile(dir + "/seed-chart-three-pages.pdf", three.build());
    ChartPdfFixture one;
    one.pageList = {{fakeJpeg(101), QStringLiteral("a (note)"), QStringLiteral("b"), {}}};
    writeFile(dir + "/seed-chart-one-page.pdf", one.build());
    writeFile(
        dir + "/seed-chart-nested-tree.pdf", three.build([](PdfTestBuilder& b, ChartPdfFixture& f) {
            const int node =
                b.add("<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(f.numbers[1].page) +
                      " 0 R " + QByteArray::number(f.numbers[2].page) + " 0 R]\r\n>>");
            b.object(3) = "<<\r\n/Type /Pages\r\n/Kids [" + QByteArray::number(f.numbers[0].page) +
                          " 0 R " + QByteArray::number(node) + " 0 R]\r\n>>";
        }));
    writeFile(dir + "/seed-chart-two-sections.pdf", one.build([](PdfTestBuilder& b, auto&) {
        b.afterXref = "trailer\r\n<<\r\n/Prev 0\r\n>>\r\nxref\r\n5 1\r\n0000000000 00000 f\r\n";
    }));
}

} // namespace
