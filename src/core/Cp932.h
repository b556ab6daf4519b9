#pragma once
// The boundary between the user interface's QString and the code page 932 bytes that the
// index, the settings file and every text file hold. Byte limits are counted here too.

#include <QByteArray>
#include <QString>

// Converts to code page 932. A character that code page 932 cannot hold becomes "?".
QByteArray toCp932(const QString& text);

// Converts code page 932 bytes to text. An invalid byte becomes U+FFFD.
QString fromCp932(const QByteArray& bytes);

// The longest prefix of cp932 bytes that is at most maxBytes long and does not split a
// double-byte character: a character that would straddle the limit is dropped whole.
QByteArray cutToBytes(const QByteArray& cp932, int maxBytes);

// toCp932 followed by cutToBytes.
QByteArray toCp932Cut(const QString& text, int maxBytes);

// The text whose code page 932 form is at most maxBytes long (the cut of toCp932Cut).
QString cutTextToBytes(const QString& text, int maxBytes);

// Length of the text in code page 932 bytes.
int cp932Length(const QString& text);

// True when the character at bytes[i] is the lead byte of a double-byte character.
inline bool isCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
