// chartpdf write: a chart PDF from image files, made by the workstation's own writer.
//
//   chartpdf write OUT.pdf [--width W] [--height H] [--quality Q] [--no-stretch]
//                  IMAGE[::NOTE[::BOOKMARK]]...
#include "Commands.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/ChartPdfWriterPages.h"

namespace {

constexpr int kUsage = 2;

// The page size must leave a layout area inside the margins of 33 on each side, and stay
// within the largest page PDF readers accept (200 inches).
bool readNumber(const QString& text, int low, int high, int& value) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        return false;
    value = n;
    return true;
}

int usage(const QString& problem) {
    printError(problem);
    printError(QStringLiteral("usage: chartpdf write OUT.pdf [--width W] [--height H] "
                              "[--quality Q] [--no-stretch] IMAGE[::NOTE[::BOOKMARK]]..."));
    return kUsage;
}

} // namespace

int writeCommand(const QStringList& args) {
    if (args.isEmpty())
        return usage(QStringLiteral("no output file"));
    const QString out = args.first();
    ChartPdfSettings settings;
    QList<ChartPageInput> pages;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--no-stretch")) {
            settings.stretch = false;
        } else if (arg == QLatin1String("--width")) {
            if (!hasValue || !readNumber(args[++i], 67, 14400, settings.pageWidth))
                return usage(QStringLiteral("--width needs a number from 67 to 14400"));
        } else if (arg == QLatin1String("--height")) {
            if (!hasValue || !readNumber(args[++i], 67, 14400, settings.pageHeight))
                return usage(QStringLiteral("--height needs a number from 67 to 14400"));
        } else if (arg == QLatin1String("--quality")) {
            // Any number: the writer holds it between 50 and 100 as the workstation does.
            if (!hasValue || !readNumber(args[++i], -1000000, 1000000, settings.quality))
                return usage(QStringLiteral("--quality needs a number"));
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option ") + arg);
        } else {
            const QStringList parts = arg.split(QStringLiteral("::"));
            if (parts.size() > 3)
                return usage(QStringLiteral("more than IMAGE::NOTE::BOOKMARK in ") + arg);
            pages.append({parts.value(0), parts.value(1), parts.value(2)});
        }
    }
    if (pages.isEmpty())
        return usage(QStringLiteral("no image"));
    int written = 0;
    try {
        TPdfWriteForm writer;
        // Missing and unreadable images are passed over, as in the workstation; the count
        // of pages written tells.
        written = writeChartPdf(writer, out, settings, pages, QString());
    } catch (const ChartPdfWriterError& e) {
        printError(e.message());
        return 1;
    }
    printOut(QStringLiteral("pages\t%1").arg(written));
    return 0;
}
