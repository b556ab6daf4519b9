#include "chartfile/PdfText.h"

#include "core/Cp932.h"

#include <QDateTime>

#include <charconv>

QByteArray pdfNumber(qint64 number) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    return QByteArray(digits, static_cast<qsizetype>(result.ptr - digits));
}

QByteArray pdfLiteralString(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out.append('(');
    for (char c : bytes) {
        switch (c) {
        case '(':
            out.append("\\(");
            break;
        case ')':
            out.append("\\)");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\t':
            out.append("\\t");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        default:
            out.append(c);
            break;
        }
    }
    out.append(')');
    return out;
}

QByteArray pdfHexString(const QByteArray& bytes) {
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray pdfTextString(const QString& text) {
    const QByteArray cp932 = toCp932(text);
    bool doubleByte = false;
    for (char c : cp932)
        if (isCp932LeadByte(static_cast<unsigned char>(c))) {
            doubleByte = true;
            break;
        }
    if (!doubleByte)
        return pdfLiteralString(cp932);
    // The reader drops the first 16 hex digits of every hex string: the byte-order mark and
    // the escape sequence that names the language ("en").
    QByteArray out = "<FEFF001B" + QByteArray("en").toHex().toUpper() + "001B";
    QByteArray units;
    units.reserve(text.size() * 2);
    for (QChar ch : text) {
        units.append(static_cast<char>(ch.unicode() >> 8));
        units.append(static_cast<char>(ch.unicode() & 0xFF));
    }
    out.append(units.toHex().toUpper());
    out.append('>');
    return out;
}

QString noteContents(const QString& note) {
    QString contents;
    contents.reserve(note.size() + 2);
    qsizetype i = 0;
    while (i < note.size()) {
        qsizetype end = i;
        while (end < note.size() && note[end] != u'\r' && note[end] != u'\n')
            ++end;
        contents.append(QStringView(note).mid(i, end - i));
        contents.append(u'\r');
        if (end + 1 < note.size() && note[end] == u'\r' && note[end + 1] == u'\n')
            i = end + 2;
        else
            i = end + 1;
    }
    return contents;
}

QString fullWidthText(const QString& shortDate) {
    QString out;
    out.reserve(shortDate.size());
    for (QChar c : shortDate) {
        if (c >= u'0' && c <= u'9')
            out.append(QChar(0xFF10 + (c.unicode() - u'0')));
        else if (c == u'.')
            out.append(QChar(0xFF0E));
        else if (c == u'/')
            out.append(QChar(0xFF0F));
        else if (c == u':')
            out.append(QChar(0xFF1A));
        else
            out.append(QChar(0xFF10));
    }
    return out;
}

QString FullWidthDate(const QDate& date) {
    return fullWidthText(date.toString(u"yyyy/MM/dd"));
}

QByteArray pdfDate(const QDateTime& dateTime) {
    return "D:" + dateTime.toString(u"yyyyMMddHHmmss").toLatin1();
}

QByteArray pdfReference(int object) {
    return pdfNumber(object) + " 0 R";
}

QByteArray pdfArray(const QByteArrayList& elements) {
    QByteArray out = "[";
    for (const QByteArray& e : elements) {
        out += e;
        out += ' ';
    }
    out += ']';
    return out;
}
