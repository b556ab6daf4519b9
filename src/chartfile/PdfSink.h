#pragma once
// The byte sink the chart PDF writer emits into. It counts every byte it is given, so the
// cross-reference offsets come from the sink itself and never from arithmetic on lengths.

#include <QByteArray>
#include <QByteArrayView>

#include <string_view>

class QIODevice;

class PdfSink {
public:
    // Writes into `device` (not owned) through a buffer; a failed write throws
    // ChartPdfWriterError with the device's error text.
    explicit PdfSink(QIODevice* device);
    ~PdfSink();
    PdfSink(const PdfSink&) = delete;
    PdfSink& operator=(const PdfSink&) = delete;

    PdfSink& operator<<(QByteArrayView bytes);
    PdfSink& operator<<(std::string_view text) { return *this << QByteArrayView(text); }
    PdfSink& operator<<(const char* text) { return *this << QByteArrayView(text); }
    PdfSink& operator<<(const QByteArray& bytes) { return *this << QByteArrayView(bytes); }
    PdfSink& operator<<(qint64 number);
    PdfSink& operator<<(int number) { return *this << qint64(number); }

    // Bytes written so far: the offset at which the next byte lands.
    qint64 offset() const { return count_; }

    // Hands the buffered bytes to the device; throws when it refuses them.
    void flush();

private:
    QIODevice* device_;
    QByteArray buffer_;
    qint64 count_ = 0;
};
