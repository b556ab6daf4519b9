#pragma once
// Values of the chart PDF reader that are read from text: strings, references and integers.

#include "chartfile/PdfSource.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The prefix written before the UTF-16 code units of every Unicode string in a chart PDF:
// byte-order mark FEFF and the language escape 001B 656E 001B ("en").
inline constexpr int kUnicodePrefixDigits = 16;

// A literal string "( ... )" or a hexadecimal Unicode string "< ... >" at the position.
// Bytes before the opening bracket are passed over. A raw CR or LF before the string has
// ended gives an empty text, as does the end of the file. Literal strings are code page 932
// bytes with the backslash escapes of the PDF standard; hexadecimal strings drop their first
// 16 digits (the prefix above) and decode the rest with decodeUnicodeHex. A hexadecimal
// string ends at its first byte that is not an upper-case hex digit.
QString readPdfString(PdfSource& source);

// "[" passes the array and gives an empty text; "(" or "<" reads a string; any other byte
// is consumed and gives an empty text.
QString readPdfStringOrPassArray(PdfSource& source);

// Big-endian UTF-16 code units in upper-case hexadecimal. A last byte without a partner is
// dropped, the text ends before a U+0000, and characters that code page 932 cannot hold
// become "?" (the text reaches the rest of the program through code page 932).
QString decodeUnicodeHex(const QByteArray& digits);

// Two hexadecimal digits, either case.
int hexByte(char high, char low);

struct ObjectId {
    qint32 number = 0;
    qint32 generation = 0;
    friend bool operator==(ObjectId a, ObjectId b) = default;
};

inline quint64 objectKey(ObjectId id) {
    return (quint64(quint32(id.number)) << 32) | quint32(id.generation);
}

// "12 0 R": the leading digits are the object number; after spaces, the digits that follow
// are the generation. Nothing after them is examined.
std::optional<ObjectId> parseReference(QByteArrayView text);

// A decimal integer in [min, max]: leading spaces, an optional sign, at least one digit,
// nothing after.
std::optional<qint64> parsePdfInteger(QByteArrayView text, qint64 min, qint64 max);
std::optional<qint32> parsePdfInt32(QByteArrayView text);
std::optional<qint64> parsePdfInt64(QByteArrayView text);
