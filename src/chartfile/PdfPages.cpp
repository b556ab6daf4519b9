#include "chartfile/PdfPages.h"

#include "chartfile/PdfError.h"
#include "chartfile/PdfOutline.h"
#include "chartfile/PdfPageTree.h"
#include "core/Cp932.h"

std::vector<PdfPageRecord> readPdfPages(PdfDocument& document) {
    using namespace pdfpage;
    std::vector<PdfPageRecord> pages;
    PdfPageTree tree(document);
    PdfOutline outline(document);
    // A page tree that names the same nodes over and over can yield more leaf visits than
    // the file has objects by orders of magnitude; such a tree is refused, not walked.
    const qint64 maxPages = 8 * qint64(document.xref().entries().size()) + 64;
    PdfSource& s = document.source();
    for (bool more = tree.firstPage(); more; more = tree.nextPage()) {
        if (qint64(pages.size()) >= maxPages)
            throw PdfError(QStringLiteral("PDF INDEX ARRAY ERROR"));
        const PageNode node = tree.page();
        PdfPageRecord page;
        page.id = node.id;
        const qint64 xobjects = readResources(document, node.resources);
        const std::vector<XObjectEntry> table = readXObjectTable(document, xobjects);
        if (!table.empty()) {
            page.imageName = fromCp932(table.front().name);
            readImageXObject(document, table.front(), page);
        }
        if (node.annots > 0) {
            s.seek(node.annots);
            page.note = readPageNote(document, s.readReference());
        }
        page.bookmark = outline.bookmarkFor(page.id);
        pages.push_back(std::move(page));
    }
    return pages;
}
