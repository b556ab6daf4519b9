#include "Commands.h"

#include "chartfile/ChartFileReaderExtract.h"
#include "chartfile/PdfError.h"

int extractCommand(const QStringList& args) {
    if (args.size() != 2) {
        printError(QStringLiteral("usage: chartpdf extract FILE DIR"));
        return 2;
    }
    try {
        const int written = extractChartPdfImages(args.at(0), args.at(1));
        printOut(QStringLiteral("%1 images").arg(written));
        return 0;
    } catch (const PdfError& e) {
        printError(e.message());
        return 1;
    }
}
