#include "chartfile/ChartPdfWriter.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/PdfSink.h"
#include "chartfile/PdfText.h"

#include <QRandomGenerator>
#include <QSaveFile>

namespace {

constexpr int kMargins = 66;
constexpr quint32 kImageNumbers = 65535;

} // namespace

TPdfWriteForm::TPdfWriteForm()
    : random_([] { return QRandomGenerator::global()->generate(); }),
      clock_([] { return QDateTime::currentDateTime(); }) {}

void TPdfWriteForm::BeginChart(const QString& path) {
    LayoutWidth = PageWidth - kMargins;
    LayoutHeight = PageHeight - kMargins;
    path_ = path;
    document_.emplace();
    document_->pageWidth = PageWidth;
    document_->pageHeight = PageHeight;
    document_->creator = CreatorText;
    document_->created = clock_();
}

bool TPdfWriteForm::AddPageImage() {
    if (!document_)
        return false;
    return AddPreparedPage(preparePageImage(ImagePath, layoutSize(), Stretch, Quality));
}

bool TPdfWriteForm::AddPreparedPage(const PreparedPageImage& image) {
    if (!document_ || image.status != PreparedPageImage::Status::Ready)
        return false;
    ChartDocumentPage page;
    page.jpeg = image.jpeg;
    page.size = image.size;
    page.imageName = drawImageName();
    page.title = TitleText;
    page.note = NoteText.isEmpty() ? QString() : noteContents(NoteText);
    document_->pages.push_back(std::move(page));
    return true;
}

QByteArray TPdfWriteForm::drawImageName() const {
    // A number below 65535 at random, drawn again while the name is taken in this document.
    for (quint32 draw = 0; draw < kImageNumbers; ++draw) {
        const QByteArray name = "PRJpegImage1" + QByteArray::number(random_() % kImageNumbers);
        bool taken = false;
        for (const ChartDocumentPage& page : document_->pages)
            if (page.imageName == name) {
                taken = true;
                break;
            }
        if (!taken)
            return name;
    }
    throw ChartPdfWriterError(QStringLiteral("image count over max value.."));
}

void TPdfWriteForm::AddBookmark(const QString& title) {
    if (!document_ || document_->pages.empty())
        return;
    document_->bookmarks.push_back({static_cast<int>(document_->pages.size()) - 1, title});
}

void TPdfWriteForm::EndChart() {
    if (!document_)
        throw ChartPdfWriterError(QStringLiteral("document has no page"));
    const ChartDocument document = std::move(*document_);
    document_.reset();
    if (document.pages.empty())
        throw ChartPdfWriterError(QStringLiteral("document has no page"));

    // QSaveFile writes a temporary file beside the target and renames it over the target only
    // on commit, after flushing it to disk: a failure leaves an earlier file untouched.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        throw ChartPdfWriterError(file.errorString());
    try {
        PdfSink sink(&file);
        writeChartDocument(sink, document);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw ChartPdfWriterError(file.errorString());
}
