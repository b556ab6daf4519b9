#include "chartfile/PdfSource.h"

#include "chartfile/PdfError.h"

#include <QFile>

#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace {

bool isBlank(int c) {
    return c == 0 || c == '\t' || c == '\f' || c == ' ';
}

bool endsKey(int c) {
    switch (c) {
    case '\r':
    case '\n':
    case ' ':
    case '%':
    case '(':
    case '/':
    case '<':
    case '[':
    case '{':
        return true;
    default:
        return false;
    }
}

bool endsName(int c) {
    switch (c) {
    case '\r':
    case '\n':
    case ' ':
    case '%':
    case '(':
    case ')':
    case '/':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
        return true;
    default:
        return false;
    }
}

bool endsToken(int c) {
    return c != ' ' && endsName(c);
}

} // namespace

PdfSource::PdfSource(QByteArray bytes)
    : data_(std::move(bytes)), p_(reinterpret_cast<const uchar*>(data_.constData())),
      size_(data_.size()) {}

PdfSource::PdfSource(std::shared_ptr<char> file, qint64 size)
    : file_(std::move(file)), p_(reinterpret_cast<const uchar*>(file_.get())), size_(size) {}

void PdfSource::FreeBuffer::operator()(char* p) const {
    std::free(p);
}

PdfSource PdfSource::fromFile(const QString& path) {
    // The whole file is read at once: the reader works on this snapshot, so another program
    // that rewrites the file meanwhile can neither tear a page image nor crash the reader (a
    // memory map would fault on a file truncated under it).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PdfError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const qint64 expected = file.size();
    // Whole-file buffers are many megabytes: in huge pages they cost a few page faults
    // instead of thousands.
    constexpr qint64 kHugePage = qint64(2) << 20;
    const qint64 capacity =
        std::max<qint64>(kHugePage, (expected + kHugePage) / kHugePage * kHugePage);
    std::shared_ptr<char> buffer(
        static_cast<char*>(std::aligned_alloc(size_t(kHugePage), size_t(capacity))), FreeBuffer());
    if (!buffer)
        throw std::bad_alloc();
    ::madvise(buffer.get(), size_t(capacity), MADV_HUGEPAGE);
    qint64 size = 0;
    while (size < capacity) {
        const qint64 n = file.read(buffer.get() + size, capacity - size);
        if (n < 0)
            throwReadError();
        if (n == 0)
            break;
        size += n;
    }
    return PdfSource(std::move(buffer), size);
}

QByteArray PdfSource::slice(qint64 start, qint64 end) const {
    if (start < 0 || start >= size_ || end <= start)
        return {};
    return QByteArray(reinterpret_cast<const char*>(p_) + start, std::min(end, size_) - start);
}

int PdfSource::peekAt(qint64 offset) const {
    return offset < 0 || offset >= size_ ? -1 : p_[offset];
}

uchar PdfSource::readByte() {
    if (atEnd())
        throwReadError();
    return p_[pos_++];
}

bool PdfSource::readMatches(const char* literal) {
    const qint64 n = qint64(std::strlen(literal));
    const bool match = lookingAt(literal);
    if (!atEnd())
        pos_ = std::min(pos_ + n, size_);
    return match;
}

bool PdfSource::lookingAt(const char* literal) const {
    const qint64 n = qint64(std::strlen(literal));
    return !atEnd() && size_ - pos_ >= n && std::memcmp(p_ + pos_, literal, size_t(n)) == 0;
}

QByteArrayView PdfSource::bytesAt(qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset)
        throwReadError();
    return QByteArrayView(reinterpret_cast<const char*>(p_) + offset, length);
}

void PdfSource::skipBlanks() {
    while (!atEnd()) {
        const uchar c = p_[pos_];
        if (isBlank(c)) {
            ++pos_;
        } else {
            if (isPdfLineBreak(c))
                ++pos_;
            return;
        }
    }
}

void PdfSource::skipLineBreak() {
    if (!isPdfLineBreak(peek()))
        return;
    ++pos_;
    if (isPdfLineBreak(peek()))
        ++pos_;
}

void PdfSource::skipToLineEnd() {
    while (!atEnd() && !isPdfLineBreak(p_[pos_]))
        ++pos_;
}

QByteArray PdfSource::readLine() {
    const qint64 start = pos_;
    skipToLineEnd();
    QByteArray line = slice(start, pos_);
    skipLineBreak();
    return line;
}

QByteArray PdfSource::readKey() {
    const qint64 start = pos_;
    while (!atEnd() && !endsKey(p_[pos_]))
        ++pos_;
    return slice(start, pos_);
}

QByteArray PdfSource::readName() {
    if (atEnd())
        return {};
    if (p_[pos_++] != '/')
        return {};
    const qint64 start = pos_;
    while (!atEnd() && !endsName(p_[pos_]))
        ++pos_;
    return slice(start, pos_);
}

QByteArray PdfSource::readToken() {
    const qint64 start = pos_;
    while (!atEnd() && !endsToken(p_[pos_]))
        ++pos_;
    return slice(start, pos_);
}

QByteArray PdfSource::readReference() {
    skipBlanks();
    const qint64 start = pos_;
    while (!atEnd() && !endsToken(p_[pos_])) {
        if (p_[pos_++] == 'R') {
            QByteArray text = slice(start, pos_);
            skipBlanks();
            return text;
        }
    }
    return slice(start, pos_);
}

QByteArray PdfSource::readDigits() {
    const qint64 start = pos_;
    while (!atEnd() && p_[pos_] >= '0' && p_[pos_] <= '9')
        ++pos_;
    return slice(start, pos_);
}

QByteArray PdfSource::readHexDigits() {
    const qint64 start = pos_;
    while (!atEnd() &&
           ((p_[pos_] >= '0' && p_[pos_] <= '9') || (p_[pos_] >= 'A' && p_[pos_] <= 'F')))
        ++pos_;
    return slice(start, pos_);
}

void PdfSource::matchArray() {
    int depth = 1;
    while (!atEnd()) {
        const uchar c = p_[pos_++];
        if (c == '[')
            ++depth;
        else if (c == ']' && --depth == 0)
            return;
    }
}

void PdfSource::matchDictionary() {
    int depth = 1;
    while (!atEnd()) {
        const uchar c = p_[pos_++];
        if (c != '<' && c != '>')
            continue;
        if (atEnd())
            return;
        const uchar next = p_[pos_++];
        if (c == '<' && next == '<')
            ++depth;
        else if (c == '>' && next == '>' && --depth == 0)
            return;
    }
}

qint64 PdfSource::skipArray() {
    if (atEnd() || p_[pos_] != '[') {
        if (!atEnd())
            ++pos_;
        throw PdfError(QStringLiteral("Not Array : GetIDArrayToken"));
    }
    ++pos_;
    const qint64 afterBracket = pos_;
    matchArray();
    return afterBracket;
}

qint64 PdfSource::skipDictionary() {
    const qint64 start = pos_;
    if (atEnd() || p_[pos_] != '<')
        throw PdfError(withPosition("Not < : Dictionary", start));
    ++pos_;
    if (atEnd() || p_[pos_] != '<')
        throw PdfError(QStringLiteral("Not << : Dictionary"));
    ++pos_;
    matchDictionary();
    return start;
}

qint64 PdfSource::skipDictionaryOrArray() {
    if (peek() == '[')
        return skipArray();
    return skipDictionary();
}

void PdfSource::passArray() {
    if (peek() != '[')
        return;
    ++pos_;
    matchArray();
}

void PdfSource::passDictionary() {
    if (!lookingAt("<<"))
        return;
    pos_ += 2;
    matchDictionary();
}

void PdfSource::passDictionaryOrArray() {
    const int c = peek();
    if (c == '[')
        passArray();
    else if (c == '<')
        passDictionary();
    else
        throw PdfError(withPosition("PDF DICTIONARY OR ARRAY ERROR address : ", pos_));
}

QByteArray PdfSource::readNameOrArray() {
    const int c = peek();
    if (c == '/')
        return readName();
    if (c == '[')
        return readArrayText();
    throw PdfError(withPosition("PDF ARRAY OR / TOKEN ERROR Adaress : ", pos_));
}

QByteArray PdfSource::readArrayText() {
    const qint64 start = pos_;
    if (peek() != '[')
        return {};
    ++pos_;
    matchArray();
    return slice(start, pos_);
}
