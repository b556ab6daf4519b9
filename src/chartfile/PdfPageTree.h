#pragma once
// The walk through a chart PDF's page tree: depth first, in Kids order, leaf page after
// leaf page, with at most 9 levels of Pages nodes on the path to a page.

#include "chartfile/PdfDocument.h"

#include <QHash>
#include <QList>

// The values of the page-tree node read last.
struct PageNode {
    ObjectId id;
    QByteArray type, parent, count, contents, rotate, dur, structParents, idReference, pz, tabs,
        templateInstantiated, userUnit;
    QString lastModified;
    qint64 kids = 0;      // position just after the "[" of Kids
    qint64 resources = 0; // position of the resource dictionary's "<<"
    qint64 annots = 0;    // position just after the "[" of Annots
};

class PdfPageTree {
public:
    explicit PdfPageTree(PdfDocument& document) : doc_(document) {}

    // Walk to the first / the next leaf page; false when there is none (left).
    bool firstPage();
    bool nextPage();
    const PageNode& page() const { return node_; }

private:
    struct Level {
        QByteArray node;
        int kid = 0;
    };

    void readNode(const QByteArray& reference);
    bool readNodeDictionary();
    void readResources(PageNode& node);
    const QList<QByteArray>& kidsOf(const QByteArray& reference);
    void push(const QByteArray& node, int kid);
    bool descendTo(const QByteArray& reference);

    PdfDocument& doc_;
    PageNode node_;
    QList<Level> stack_;
    // Pages nodes are met again on the way back up; their Kids are read once.
    QHash<QByteArray, QList<QByteArray>> kids_;
};
