#include "core/Cp932.h"

#include <QList>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// One iconv conversion of a whole buffer. Unconvertible input is replaced, one unit at a
// time, by `replacement`, and the conversion goes on after it.
// One converter per direction and thread, opened on first use: opening one costs more than
// converting a typical field.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

QByteArray convert(const Converter& converter, const QByteArray& in, int unitSize,
                   const QByteArray& replacement) {
    iconv_t cd = converter.get();
    QByteArray out;
    out.resize(in.size() * 2 + 16);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        const qsizetype used = outPtr - out.data();
        if (errno == E2BIG || outLeft < static_cast<size_t>(replacement.size()) + 4) {
            out.resize(out.size() * 2 + 16);
            outPtr = out.data() + used;
            outLeft = static_cast<size_t>(out.size() - used);
            continue;
        }
        // EILSEQ or EINVAL: skip one unit of input and write the replacement.
        const size_t skip = std::min(inLeft, static_cast<size_t>(unitSize));
        inPtr += skip;
        inLeft -= skip;
        memcpy(outPtr, replacement.constData(), static_cast<size_t>(replacement.size()));
        outPtr += replacement.size();
        outLeft -= static_cast<size_t>(replacement.size());
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(outPtr - out.data());
    return out;
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

bool isAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

// Code page 932 holds ASCII unchanged (0x5C and 0x7E included in this mapping), so plain
// ASCII texts skip the converter.
QByteArray toCp932(const QString& text) {
    if (text.isEmpty())
        return {};
    if (isAscii(text))
        return text.toLatin1();
    thread_local const Converter converter("CP932", "UCS-4LE");
    // UCS-4 makes one unit per character, so an unconvertible character becomes one "?".
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray units(reinterpret_cast<const char*>(ucs4.constData()),
                           ucs4.size() * qsizetype(sizeof(uint)));
    return convert(converter, units, 4, "?");
}

QString fromCp932(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    thread_local const Converter converter("UTF-8", "CP932");
    return QString::fromUtf8(convert(converter, bytes, 1, "\xEF\xBF\xBD"));
}

QByteArray cutToBytes(const QByteArray& cp932, int maxBytes) {
    if (maxBytes <= 0)
        return {};
    if (cp932.size() <= maxBytes)
        return cp932;
    int end = 0;
    while (end < maxBytes) {
        const int width = isCp932LeadByte(static_cast<unsigned char>(cp932[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return cp932.left(end);
}

QByteArray toCp932Cut(const QString& text, int maxBytes) {
    return cutToBytes(toCp932(text), maxBytes);
}

QString cutTextToBytes(const QString& text, int maxBytes) {
    return fromCp932(toCp932Cut(text, maxBytes));
}

int cp932Length(const QString& text) {
    return static_cast<int>(toCp932(text).size());
}
