#pragma once
// How the chart PDF writer spells numbers, names and text strings. Everything here is
// independent of the locale: a German or French locale must not turn 12 into "12,0".

#include <QByteArray>
#include <QByteArrayList>
#include <QDate>
#include <QDateTime>
#include <QString>

// An integer in plain decimal.
QByteArray pdfNumber(qint64 number);

// A text string value. Text with a code page 932 double-byte character is written as a
// Unicode hex string: "<FEFF001B656E001B" (byte-order mark and the language escape for "en"),
// then the UTF-16BE code units in upper-case hex, then ">". Any other text is a literal string
// of its code page 932 bytes with ( ) \ CR LF TAB BS FF escaped.
QByteArray pdfTextString(const QString& text);

// A literal string of raw bytes, escaped as above.
QByteArray pdfLiteralString(const QByteArray& bytes);

// Upper-case hex of raw bytes in angle brackets: a hex string for a content stream.
QByteArray pdfHexString(const QByteArray& bytes);

// The Contents of a note annotation. The note is split into lines as a text box splits its
// text (CR LF, LF or a lone CR end a line; a break at the very end adds no empty line); every
// line is followed by CR LF, and every CR LF is then written as a single CR.
QString noteContents(const QString& note);

// The date as the document's Creator carries it: the short date (yyyy/MM/dd) converted
// character by character, "0" to "9" to "０" to "９", "." to "．", "/" to "／", ":" to "：",
// any other character to "０".
QString FullWidthDate(const QDate& date);
QString fullWidthText(const QString& shortDate);

// "D:" and yyyyMMddhhmmss.
QByteArray pdfDate(const QDateTime& dateTime);

// Dictionaries and arrays as the chart PDF layout spells them: "<<" CR LF, one entry per line
// (key name, a space, the value, CR LF), ">>"; arrays with a space after every element.
class PdfDictionary {
public:
    PdfDictionary& add(const char* key, const QByteArray& value) {
        body_ += '/';
        body_ += key;
        body_ += ' ';
        body_ += value;
        body_ += "\r\n";
        return *this;
    }
    QByteArray bytes() const { return "<<\r\n" + body_ + ">>"; }

private:
    QByteArray body_;
};

// "n 0 R".
QByteArray pdfReference(int object);

// "[" and each element followed by one space, then "]".
QByteArray pdfArray(const QByteArrayList& elements);
