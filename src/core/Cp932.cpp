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
QByteArray convert(const char* to, const char* from, const QByteArray& in, int unitSize,
                   const QByteArray& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
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
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray toCp932(const QString& text) {
    if (text.isEmpty())
        return {};
    // UCS-4 makes one unit per character, so an unconvertible character becomes one "?".
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray units(reinterpret_cast<const char*>(ucs4.constData()),
                           ucs4.size() * qsizetype(sizeof(uint)));
    return convert("CP932", "UCS-4LE", units, 4, "?");
}

QString fromCp932(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    return QString::fromUtf8(convert("UTF-8", "CP932", bytes, 1, "\xEF\xBF\xBD"));
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

int cp932Length(const QString& text) { return static_cast<int>(toCp932(text).size()); }
