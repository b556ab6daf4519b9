// Contract: any bytes given to the chart PDF reader are either read or refused with a
// PdfError that carries a message. Nothing else may happen: no crash, no memory error, no
// endless loop, no other exception. Every page of a file that reads can be selected and its
// image bytes lie inside the file.

#include "chartfile/ChartFileReader.h"
#include "chartfile/PdfError.h"
#include "chartfile/PdfStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        TPdfStream pdf;
        pdf.OpenBytes(bytes);
        for (int i = 0; i < pdf.PageCount(); ++i) {
            pdf.SelectPage(i);
            if (pdf.ImageLength() >= 4 && pdf.Image().size() != pdf.ImageLength())
                std::abort();
        }
        checkChartPdf(pdf);
    } catch (const PdfError& e) {
        if (e.message().isEmpty())
            std::abort();
    }
    return 0;
}
