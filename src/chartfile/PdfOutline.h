#pragma once
// Bookmark titles from the top level of a chart PDF's outline.
//
// A page's bookmark is the Title of the first top-level item, in Next order from the
// outline's First, whose Dest array begins with a reference to the page. The walk is made
// once for the whole document and extended only as far as a page needs: a page whose
// match lies among the items already examined costs a lookup, and every fault (a missing
// outline, an item without a destination reference, a damaged item) is raised by the first
// page whose search reaches it, exactly as a fresh walk from the First item for every page
// would raise it. A Next chain that returns to an item already visited ends with an error.

#include "chartfile/PdfDocument.h"

#include <QHash>
#include <QSet>

struct OutlineRoot {
    ObjectId id;
    QByteArray type, first, last, count;
};

struct OutlineItem {
    ObjectId id;
    QString title;
    QByteArray parent, prev, next, first, last, count, a, se, c, f;
    qint64 dest = 0; // position just after the "[" of Dest; 0 when there is none
};

class PdfOutline {
public:
    explicit PdfOutline(PdfDocument& document) : doc_(document) {}

    // The bookmark title of the page, or an empty text.
    QString bookmarkFor(ObjectId page);

private:
    void start();
    void readItem(QByteArray reference); // by value: it replaces the item it may come from
    ObjectId examineCurrent();
    void advance();

    PdfDocument& doc_;
    bool started_ = false;
    bool ended_ = true;
    bool currentExamined_ = false;
    OutlineItem current_;
    QHash<quint64, QString> firstTitle_; // destination page -> title of its first item
    QSet<quint64> visited_;
};
