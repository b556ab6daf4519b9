#include "chartfile/PdfValues.h"

#include "chartfile/PdfError.h"
#include "core/Cp932.h"

#include <limits>
#include <new>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char escaped(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    default:
        return c;
    }
}

// Resolves the backslash escapes of a literal string's body.
QByteArray unescape(QByteArrayView body) {
    QByteArray out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c != '\\' || i + 1 >= body.size()) {
            out.append(c);
            continue;
        }
        const char e = body[++i];
        if (e >= '0' && e <= '7') {
            int value = e - '0';
            for (int n = 1;
                 n < 3 && i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7'; ++n)
                value = value * 8 + (body[++i] - '0');
            out.append(char(value & 0xFF));
        } else {
            out.append(escaped(e));
        }
    }
    return out;
}

} // namespace

QString readPdfString(PdfSource& source) {
    enum class Mode { Before, Literal, Hex } mode = Mode::Before;
    int depth = 0;
    qint64 start = 0;
    QByteArray digits;
    while (!source.atEnd()) {
        const uchar c = source.readByte();
        if (isPdfLineBreak(c))
            return {};
        switch (mode) {
        case Mode::Before:
            if (c == '(') {
                mode = Mode::Literal;
                depth = 1;
                start = source.pos();
            } else if (c == '<') {
                mode = Mode::Hex;
                digits = source.readHexDigits();
            }
            break;
        case Mode::Literal:
            if (c == '\\') {
                // An escaped byte never changes the depth; an escaped line break still ends
                // the reading, as every raw CR or LF does.
                if (source.atEnd() || isPdfLineBreak(source.peek()))
                    return {};
                source.readByte();
            } else if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth == 0) {
                const qint64 end = source.pos() - 1;
                return fromCp932(unescape(source.bytesAt(start, end - start)));
            }
            break;
        case Mode::Hex:
            if (c == '>') {
                // The whole string is kept: a note or bookmark longer than 63 characters
                // must survive the next save of the volume.
                return digits.size() <= kUnicodePrefixDigits
                           ? QString()
                           : decodeUnicodeHex(digits.mid(kUnicodePrefixDigits));
            }
            break;
        }
    }
    return {};
}

QString readPdfStringOrPassArray(PdfSource& source) {
    const int c = source.peek();
    if (c == '[') {
        source.passArray();
        return {};
    }
    if (c == '(' || c == '<')
        return readPdfString(source);
    if (c >= 0)
        source.readByte();
    return {};
}

int hexByte(char high, char low) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return 0;
    };
    return value(high) * 16 + value(low);
}

QString decodeUnicodeHex(const QByteArray& digits) {
    QString utf16;
    try {
        utf16.reserve(digits.size() / 4 + 1);
    } catch (const std::bad_alloc&) {
        throw PdfError(QStringLiteral("変換元メモリ不足です。"));
    }
    const qsizetype bytes = digits.size() / 2;
    for (qsizetype i = 0; i + 1 < bytes; i += 2) {
        const int high = hexByte(digits[2 * i], digits[2 * i + 1]);
        const int low = hexByte(digits[2 * i + 2], digits[2 * i + 3]);
        const char16_t unit = char16_t(high * 256 + low);
        if (unit == 0)
            break;
        utf16.append(QChar(unit));
    }
    return fromCp932(toCp932(utf16));
}

std::optional<qint64> parsePdfInteger(QByteArrayView text, qint64 min, qint64 max) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size())
        return std::nullopt;
    // Accumulated as a negative number so that the lowest value fits.
    qint64 value = 0;
    const qint64 lowest = std::numeric_limits<qint64>::min();
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        const int d = text[i] - '0';
        if (value < (lowest + d) / 10)
            return std::nullopt;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == lowest)
            return std::nullopt;
        value = -value;
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<qint32> parsePdfInt32(QByteArrayView text) {
    const auto v = parsePdfInteger(text, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max());
    return v ? std::optional<qint32>(qint32(*v)) : std::nullopt;
}

std::optional<qint64> parsePdfInt64(QByteArrayView text) {
    return parsePdfInteger(text, std::numeric_limits<qint64>::min(),
                           std::numeric_limits<qint64>::max());
}

std::optional<ObjectId> parseReference(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const auto number = parsePdfInt32(text.first(i));
    if (i == 0 || !number)
        return std::nullopt;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const qsizetype genStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const auto generation = parsePdfInt32(text.sliced(genStart, i - genStart));
    if (i == genStart || !generation)
        return std::nullopt;
    return ObjectId{*number, *generation};
}
