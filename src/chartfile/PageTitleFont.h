#pragma once
// The font of a chart page's title line: a Type0 font over an Adobe-Japan1 CID font with the
// 90ms-RKSJ-H encoding, so that the title is written in code page 932 bytes and shows in every
// PDF reader that has Japanese fonts, without embedding a font in each chart.

#include <QByteArray>
#include <QString>

// The resource name of the font in each page's /Font dictionary.
inline constexpr const char* kTitleFontResource = "F0";

// The three dictionaries: the Type0 font (its descendant is object `cidFont`), the CID font
// (its descriptor is object `descriptor`) and the font descriptor.
QByteArray titleFontDictionary(int cidFont);
QByteArray titleCidFontDictionary(int descriptor);
QByteArray titleFontDescriptor();

// Content stream operators drawing `title` in the title label, whose top-left corner lies at
// (left, top) from the page's top-left corner; empty for an empty title.
QByteArray titleTextOperators(const QString& title, int left, int top, int pageHeight);
