#include "chartfile/PdfOutline.h"

#include "chartfile/PdfDictionaryLoop.h"
#include "chartfile/PdfError.h"

namespace {

// Reference texts of 4 characters or fewer name no object ("1 0 R" is the shortest).
bool namesObject(const QByteArray& reference) {
    return reference.size() > 4;
}

} // namespace

void PdfOutline::start() {
    started_ = true;
    PdfSource& s = doc_.source();
    OutlineRoot root;
    const QByteArray& outlines = doc_.catalog().outlines;
    if (namesObject(outlines)) {
        doc_.locateObject(outlines, &root.id);
        if (s.readMatches("<<")) {
            s.skipBlanks();
            s.skipLineBreak();
            const bool ok = readDictionaryEntries(s, [&](const QByteArray& key) {
                if (key == "Type")
                    root.type = s.readName();
                else if (key == "First")
                    root.first = s.readReference();
                else if (key == "Last")
                    root.last = s.readReference();
                else if (key == "Count")
                    root.count = s.readDigits();
                else
                    return false;
                return true;
            });
            if (!ok)
                throw PdfError(QStringLiteral("PDF OUTLINE DICTIONARY ERROR"));
        }
    }
    if (root.type != "Outlines")
        throw PdfError(QStringLiteral("PDF OUTLINES ERROR"));
    const auto count = parsePdfInt32(root.count);
    if (!count)
        throw PdfError(QStringLiteral("PDF OUTLINES COUNT ERROR"));
    if (*count < 1) {
        ended_ = true;
        return;
    }
    readItem(root.first);
    ended_ = false;
}

void PdfOutline::readItem(QByteArray reference) {
    PdfSource& s = doc_.source();
    current_ = OutlineItem();
    currentExamined_ = false;
    if (!namesObject(reference))
        return;
    doc_.locateObject(reference, &current_.id);
    if (visited_.contains(objectKey(current_.id)))
        throw PdfError(withPosition("PDF OUTLINE OBJ ERROR Address :", s.pos()));
    visited_.insert(objectKey(current_.id));
    if (!s.readMatches("<<"))
        return;
    s.skipBlanks();
    s.skipLineBreak();
    OutlineItem& it = current_;
    const bool ok = readDictionaryEntries(s, [&](const QByteArray& key) {
        if (key == "Title")
            it.title = readPdfString(s);
        else if (key == "Parent")
            it.parent = s.readReference();
        else if (key == "Prev")
            it.prev = s.readReference();
        else if (key == "Next")
            it.next = s.readReference();
        else if (key == "First")
            it.first = s.readReference();
        else if (key == "Last")
            it.last = s.readReference();
        else if (key == "Count")
            it.count = s.readDigits();
        else if (key == "Dest")
            it.dest = s.skipArray();
        else if (key == "A")
            it.a = s.readDigits();
        else if (key == "SE")
            it.se = s.readDigits();
        else if (key == "C")
            it.c = s.readDigits();
        else if (key == "F")
            it.f = s.readDigits();
        else
            return false;
        return true;
    });
    if (!ok)
        throw PdfError(withPosition("PDF OUTLINE OBJ ERROR Address :", s.pos()));
}

ObjectId PdfOutline::examineCurrent() {
    // An item without Dest is examined at offset 0, where the header stands: no reference.
    PdfSource& s = doc_.source();
    s.seek(current_.dest);
    const auto dest = parseReference(s.readReference());
    if (!dest)
        throw PdfError(QStringLiteral("PDF OUTLINE DEST ERROR"));
    currentExamined_ = true;
    if (!firstTitle_.contains(objectKey(*dest)))
        firstTitle_.insert(objectKey(*dest), current_.title);
    return *dest;
}

void PdfOutline::advance() {
    if (namesObject(current_.next))
        readItem(current_.next);
    else
        ended_ = true;
}

QString PdfOutline::bookmarkFor(ObjectId page) {
    const auto known = firstTitle_.constFind(objectKey(page));
    if (known != firstTitle_.constEnd())
        return *known;
    if (!started_)
        start();
    while (!ended_) {
        if (currentExamined_) {
            advance();
            continue;
        }
        if (examineCurrent() == page)
            return current_.title;
    }
    return {};
}
