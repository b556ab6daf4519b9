#include "index/Cp932Like.h"

#include "core/Cp932.h"
#include "index/Sqlite.h"

#include <cstring>
#include <sqlite3.h>

namespace {

// Length of the character starting at s[i]: 2 for a lead byte with its trail, else 1.
int unitLength(const char* s, int i, int size) {
    return isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < size ? 2 : 1;
}

char foldAscii(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool sameUnit(const char* a, int aLength, const char* b, int bLength) {
    if (aLength != bLength)
        return false;
    if (aLength == 1)
        return foldAscii(*a) == foldAscii(*b);
    return std::memcmp(a, b, size_t(aLength)) == 0;
}

void likeFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int patternSize = sqlite3_value_bytes(argv[0]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int textSize = sqlite3_value_bytes(argv[1]);
    if (!pattern || !text) {
        sqlite3_result_null(context); // NULL LIKE x is NULL, as with SQLite's own LIKE
        return;
    }
    sqlite3_result_int(context, cp932Like(pattern, patternSize, text, textSize) ? 1 : 0);
}

} // namespace

bool cp932Like(const char* pattern, int patternSize, const char* text, int textSize) {
    int p = 0;
    int t = 0;
    // Where the last "%" was seen in the pattern, and where in the text its run ends so far.
    // On a mismatch the run grows by one character and the rest of the pattern is tried again.
    int starP = -1;
    int starT = 0;
    while (t < textSize) {
        if (p < patternSize) {
            if (pattern[p] == '%') {
                while (p < patternSize && pattern[p] == '%')
                    ++p;
                if (p == patternSize)
                    return true;
                starP = p;
                starT = t;
                continue;
            }
            const int tLength = unitLength(text, t, textSize);
            if (pattern[p] == '_') {
                ++p;
                t += tLength;
                continue;
            }
            const int pLength = unitLength(pattern, p, patternSize);
            if (sameUnit(pattern + p, pLength, text + t, tLength)) {
                p += pLength;
                t += tLength;
                continue;
            }
        }
        if (starP < 0)
            return false;
        starT += unitLength(text, starT, textSize);
        t = starT;
        p = starP;
    }
    while (p < patternSize && pattern[p] == '%')
        ++p;
    return p == patternSize;
}

void installCp932Like(sqlite3* db) {
    const int rc = sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                           nullptr, likeFunction, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw SqliteError(rc, sqlite3_errmsg(db));
}
