#include "chartfile/PdfPageTree.h"

#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"

namespace {

// The stack has 10 slots, the first of which marks the bottom.
constexpr int kMaxPagesLevels = 9;

} // namespace

void PdfPageTree::readNode(const QByteArray& reference) {
    node_ = PageNode();
    if (reference.size() <= 4)
        return; // no object: the empty Type fails at the caller
    PdfSource& s = doc_.source();
    doc_.locateObject(reference, &node_.id);
    if (!s.readMatches("<<"))
        return;
    if (!readNodeDictionary())
        throw PdfError(withPosition("Pages Error Object Address : ", s.pos()));
}

bool PdfPageTree::readNodeDictionary() {
    PdfSource& s = doc_.source();
    PageNode& n = node_;
    s.skipBlanks();
    s.skipLineBreak();
    return readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Type")
            n.type = s.readName();
        else if (key == "Parent")
            n.parent = s.readReference();
        else if (key == "Kids")
            n.kids = s.skipArray();
        else if (key == "Count")
            n.count = s.readToken();
        else if (key == "LastModified")
            n.lastModified = readPdfStringOrPassArray(s);
        else if (key == "Resources")
            readResources(n);
        else if (key == "MediaBox" || key == "CropBox" || key == "BleedBox" || key == "TrimBox" ||
                 key == "ArtBox" || key == "B")
            s.passArray();
        else if (key == "BoxColorInfo" || key == "Group" || key == "Trans" || key == "AA" ||
                 key == "PieceInfo" || key == "SeparationInfo" || key == "PresSteps" || key == "VP")
            s.passDictionary();
        else if (key == "Contents")
            n.contents = s.readReference();
        else if (key == "Rotate")
            n.rotate = s.readDigits();
        else if (key == "Thumb")
            throw PdfError(QStringLiteral("thumb 未サポート"));
        else if (key == "Dur")
            n.dur = s.readDigits();
        else if (key == "Annots")
            n.annots = s.skipArray();
        else if (key == "Metadata")
            throw PdfError(QStringLiteral("Metadata 未サポート"));
        else if (key == "StructParents")
            n.structParents = s.readDigits();
        else if (key == "ID")
            n.idReference = s.readReference();
        else if (key == "PZ")
            n.pz = s.readDigits();
        else if (key == "Tabs")
            n.tabs = s.readName();
        else if (key == "TemplateInstantiated")
            n.templateInstantiated = s.readName();
        else if (key == "UserUnit")
            n.userUnit = s.readDigits();
        else
            return false;
        return true;
    });
}

void PdfPageTree::readResources(PageNode& n) {
    PdfSource& s = doc_.source();
    if (s.peek() == '<') {
        n.resources = s.skipDictionary();
        return;
    }
    const QByteArray reference = s.readReference();
    if (reference.size() < 5)
        throw PdfError(withPosition("PDF PAGE RESOURCES ERROR Address : ", s.pos()));
    s.skipBlanks();
    const qint64 back = s.pos();
    // LocateObject overwrites the node's number; the page keeps its own.
    n.resources = doc_.locateObject(reference);
    s.seek(back);
}

const QList<QByteArray>& PdfPageTree::kidsOf(const QByteArray& reference) {
    auto cached = kids_.constFind(reference);
    if (cached != kids_.constEnd())
        return *cached;
    PdfSource& s = doc_.source();
    QList<QByteArray> kids;
    s.seek(node_.kids);
    while (!s.atEnd()) {
        if (s.peek() == ']') {
            s.readByte();
            break;
        }
        // An element that reads nothing (a string, a dictionary) would never be passed.
        const qint64 before = s.pos();
        kids.append(s.readReference());
        if (s.pos() == before)
            throw PdfError(QStringLiteral("PDF INDEX ARRAY ERROR"));
    }
    if (kids.isEmpty())
        throw PdfError(QStringLiteral("PDF INDEX ARRAY ERROR"));
    return *kids_.insert(reference, kids);
}

void PdfPageTree::push(const QByteArray& node, int kid) {
    if (stack_.size() >= kMaxPagesLevels)
        throw PdfError(QStringLiteral("PDF STACK OVERFLOW ERROR"));
    stack_.append({node, kid});
}

bool PdfPageTree::descendTo(const QByteArray& reference) {
    QByteArray current = reference;
    readNode(current);
    while (node_.type == "Pages") {
        const QByteArray first = kidsOf(current).first();
        push(current, 0);
        current = first;
        readNode(current);
    }
    if (node_.type != "Page")
        throw PdfError(QStringLiteral("PDF PAGE TYPE ERROR"));
    return true;
}

bool PdfPageTree::firstPage() {
    stack_.clear();
    return descendTo(doc_.catalog().pages);
}

bool PdfPageTree::nextPage() {
    for (;;) {
        if (stack_.isEmpty())
            return false;
        const Level level = stack_.takeLast();
        const QList<QByteArray>& kids = kidsOf(level.node);
        const int kid = level.kid + 1;
        if (kid >= kids.size())
            continue;
        const QByteArray next = kids.at(kid);
        push(level.node, kid);
        return descendTo(next);
    }
}
