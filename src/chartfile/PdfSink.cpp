#include "chartfile/PdfSink.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/PdfText.h"

#include <QIODevice>

namespace {
constexpr qsizetype kBufferSize = 256 * 1024;
}

PdfSink::PdfSink(QIODevice* device) : device_(device) {
    buffer_.reserve(kBufferSize);
}

PdfSink::~PdfSink() = default;

PdfSink& PdfSink::operator<<(QByteArrayView bytes) {
    count_ += bytes.size();
    if (buffer_.size() + bytes.size() > kBufferSize) {
        flush();
        if (bytes.size() >= kBufferSize) {
            // Large blocks (the page images) go straight through.
            if (device_->write(bytes.data(), bytes.size()) != bytes.size())
                throw ChartPdfWriterError(device_->errorString());
            return *this;
        }
    }
    buffer_.append(bytes);
    return *this;
}

PdfSink& PdfSink::operator<<(qint64 number) {
    return *this << pdfNumber(number);
}

void PdfSink::flush() {
    if (buffer_.isEmpty())
        return;
    if (device_->write(buffer_) != buffer_.size())
        throw ChartPdfWriterError(device_->errorString());
    buffer_.clear();
}
