#pragma once
// The one loop by which every dictionary of a chart PDF is read, key by key.
//
// The caller has consumed "<<" and the line break after it. Each round skips blanks and
// reads one byte: "/" reads the key and hands it to `onKey`, which reads the value with the
// reader its key table assigns and returns false to end the loop with failure (a key outside
// the table, in most dictionaries); then the line break after the value is skipped. ">>"
// ends the loop with success, after the blanks and line break that follow it. Any other byte
// ends it with failure, the position left after that byte. Every round consumes at least one
// byte, so the loop always ends.

#include "chartfile/PdfSource.h"

template <class OnKey> bool readDictionaryEntries(PdfSource& source, OnKey&& onKey) {
    for (;;) {
        source.skipBlanks();
        const uchar c = source.readByte();
        if (c == '/') {
            const QByteArray key = source.readKey();
            source.skipBlanks();
            if (!onKey(key))
                return false;
            source.skipLineBreak();
        } else if (c == '>' && source.readByte() == '>') {
            source.skipBlanks();
            source.skipLineBreak();
            return true;
        } else {
            return false;
        }
    }
}

// Consumes the "<<" already checked by the caller and the blanks and line break after it.
inline void enterDictionary(PdfSource& source) {
    source.seek(source.pos() + 2);
    source.skipBlanks();
    source.skipLineBreak();
}
