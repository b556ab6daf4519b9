#include "Commands.h"

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"

namespace {

// One field of a tab-separated line: notes hold CRs, so line breaks, tabs and backslashes
// are written as escapes.
QString field(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

// Reads the file as the workstation does when it opens a volume: the reader, then the
// chart PDF check.
int infoCommand(const QStringList& args) {
    if (args.size() != 1) {
        printError(QStringLiteral("usage: chartpdf info FILE"));
        return 2;
    }
    try {
        TPdfStream pdf;
        pdf.Open(args.first());
        checkChartPdf(pdf);
        printOut(QStringLiteral("pages\t%1").arg(pdf.PageCount()));
        for (int i = 0; i < pdf.PageCount(); ++i) {
            const PdfPageRecord& page = pdf.pages()[size_t(i)];
            printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5")
                         .arg(i + 1)
                         .arg(field(page.imageName))
                         .arg(page.imageLength)
                         .arg(field(page.note), field(page.bookmark)));
        }
        return 0;
    } catch (const PdfError& e) {
        printError(e.message());
        return 1;
    }
}
