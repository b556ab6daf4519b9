#pragma once
// LIKE for texts held as code page 932 bytes.
//
// SQLite's own LIKE walks text as UTF-8 and folds ASCII letters byte by byte. On code page 932
// that goes wrong wherever a trail byte lies in the ASCII range: "ア" (83 41) matches "ヂ"
// (83 61) because 41 and 61 fold to the same letter, and "ダ" (83 5F) acts as a wildcard because
// its trail byte is "_". This LIKE steps over whole characters instead, so wildcards and case
// folding apply to single-byte characters only, and a match never starts inside a character.

#include <QByteArray>

struct sqlite3;

// True when `text` matches `pattern`: "%" matches any run of characters, "_" exactly one
// character, single-byte ASCII letters compare without regard to case, and every other
// character compares exactly.
bool cp932Like(const char* pattern, int patternSize, const char* text, int textSize);
inline bool cp932Like(const QByteArray& pattern, const QByteArray& text) {
    return cp932Like(pattern.constData(), int(pattern.size()), text.constData(), int(text.size()));
}

// Replaces the LIKE operator (without ESCAPE) of the connection with cp932Like.
// Throws SqliteError when SQLite refuses.
void installCp932Like(sqlite3* db);
