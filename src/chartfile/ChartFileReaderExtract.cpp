#include "chartfile/ChartFileReaderExtract.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"

#include <QDir>
#include <QFile>

namespace {

void writeWhole(const QString& path, const QByteArray& bytes) {
    // The image names of one chart PDF are unique, so the temporary names are too.
    const QString temporary = path + QStringLiteral(".part");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        throw PdfError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    }
    file.close();
    QFile::remove(path);
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw PdfError(QStringLiteral("Cannot write file \"%1\".").arg(path));
    }
}

} // namespace

int extractChartPdfImages(const QString& pdfPath, const QString& dir) {
    std::vector<ChartPdfPage> pages;
    ReadChartPdf(pdfPath, [&](const ChartPdfPage& page) { pages.push_back(page); });
    const QDir target(dir);
    for (const ChartPdfPage& page : pages)
        writeWhole(target.filePath(page.imageName + QStringLiteral(".jpg")), page.jpeg);
    return int(pages.size());
}
