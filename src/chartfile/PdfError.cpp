#include "chartfile/PdfError.h"

PdfError::PdfError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

QString withPosition(const char* text, qint64 position) {
    // Negative offsets print as their 64-bit two's complement, as the hexadecimal
    // conversion of a signed 64-bit value does.
    const QString hex =
        QString::number(static_cast<quint64>(position), 16).toUpper().rightJustified(8, u'0');
    return QString::fromUtf8(text) + hex;
}

void throwReadError() {
    throw PdfError(QStringLiteral("Stream read error"));
}
