#pragma once
// The bytes of one PDF file with a read position, and the token readers that every level
// of the chart PDF reader uses.
//
// The readers are tuned to the layout of chart PDFs, not to the whole PDF grammar: each
// starts at the position, consumes what the table below says and stops at the first byte
// that does not belong to it, without consuming that byte. The end of the file stops every
// reader that scans; only the single-byte reads of the dictionary loops (readByte) raise the
// read error there.
//
//   blank       NUL TAB FF SPACE
//   line break  CR LF (a CR LF or LF CR pair counts as one break)
//   key         /Name up to CR LF SPACE % ( / < [ {
//   name        /Name up to CR LF SPACE % ( ) / < > [ ] {
//   token       up to CR LF % ( ) / < > [ ] { }  (spaces belong to the token)
//   reference   "12 0 R": a token cut after its first R
//
// Brackets are matched by counting the bracket bytes alone: strings and comments inside an
// array or dictionary are not recognised. In dictionaries "<<" opens and ">>" closes a level;
// a single < or > is passed over together with the byte after it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class PdfSource {
public:
    explicit PdfSource(QByteArray bytes);
    // Reads the whole file; a file that cannot be opened or read raises its error.
    static PdfSource fromFile(const QString& path);

    qint64 size() const { return size_; }
    qint64 pos() const { return pos_; }
    void seek(qint64 position) { pos_ = position; }
    bool atEnd() const { return pos_ < 0 || pos_ >= size_; }
    // The byte at the position, or -1 at the end; nothing is consumed.
    int peek() const { return atEnd() ? -1 : p_[pos_]; }
    int peekAt(qint64 offset) const;

    // One byte; the read error at the end of the file.
    uchar readByte();
    // Reads up to strlen(literal) bytes and tells whether they are exactly `literal`;
    // fewer bytes at the end of the file are a mismatch, not an error.
    bool readMatches(const char* literal);
    // Looks without consuming.
    bool lookingAt(const char* literal) const;
    // `length` bytes at `offset`; the read error when they do not all lie in the file.
    QByteArrayView bytesAt(qint64 offset, qint64 length) const;

    void skipBlanks();
    void skipLineBreak();
    void skipToLineEnd();
    QByteArray readLine();
    QByteArray readKey();
    QByteArray readName();
    QByteArray readToken();
    QByteArray readReference();
    QByteArray readDigits();
    QByteArray readHexDigits();

    // Return the position just after the "[" / the position of the first "<".
    qint64 skipArray();
    qint64 skipDictionary();
    qint64 skipDictionaryOrArray();
    void passArray();
    void passDictionary();
    void passDictionaryOrArray();
    QByteArray readNameOrArray();
    QByteArray readArrayText();

private:
    PdfSource(std::shared_ptr<char> file, qint64 size);
    QByteArray slice(qint64 start, qint64 end) const;
    void matchArray();      // after the "[": up to the matching "]"
    void matchDictionary(); // after the "<<": up to the matching ">>"

    struct FreeBuffer {
        void operator()(char* p) const;
    };

    QByteArray data_;            // bytes handed in
    std::shared_ptr<char> file_; // or a whole file read by fromFile
    const uchar* p_ = nullptr;
    qint64 size_ = 0;
    qint64 pos_ = 0;
};

inline bool isPdfLineBreak(int c) {
    return c == '\r' || c == '\n';
}
