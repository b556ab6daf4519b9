#include "chartfile/ChartFileReader.h"

#include "chartfile/PdfError.h"

namespace {

// Pages whose image is this short or shorter carry no picture worth a working page.
constexpr qint32 kMinStoredImageLength = 100;

} // namespace

QString trimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

void checkChartPdf(const TPdfStream& pdf) {
    if (trimControls(pdf.Author()) != QStringLiteral("Ｒ２．０"))
        throw PdfError(QStringLiteral("Pdf is Not TovaneFile"));
    if (trimControls(pdf.Subject()) != QStringLiteral("ＬＩＴＥ"))
        throw PdfError(QStringLiteral("Pdf is Not TovaneFile Lite"));
}

void ReadChartPdf(const QString& fileName,
                  const std::function<void(const ChartPdfPage&)>& addStoredPage) {
    TPdfStream pdf;
    pdf.Open(fileName);
    checkChartPdf(pdf);
    for (int i = 0; i < pdf.PageCount(); ++i) {
        pdf.SelectPage(i);
        if (pdf.ImageLength() <= kMinStoredImageLength)
            continue;
        addStoredPage({pdf.PageImageName(), pdf.Image(), pdf.PageNote(), pdf.PageBookmark()});
    }
}

QList<ChartPdfPage> readChartPdfPages(const QString& fileName) {
    QList<ChartPdfPage> pages;
    ReadChartPdf(fileName, [&](const ChartPdfPage& page) { pages.append(page); });
    return pages;
}
