#pragma once
// The chart PDF writer. It keeps the name by which the rest of the program knows it, but it
// is no window: it holds the page template (a title line, the page image, a note annotation)
// and collects pages into a document in memory. Only EndChart writes the file, whole, through
// a temporary file in the target folder that replaces the target once it is complete.
//
//   TPdfWriteForm writer;
//   writer.PageWidth = 700; writer.PageHeight = 1000; writer.CreatorText = FullWidthDate(today);
//   writer.BeginChart(path);
//   writer.ImagePath = ...; writer.TitleText = ...; writer.NoteText = ...;
//   if (writer.AddPageImage() && !bookmark.isEmpty()) writer.AddBookmark(bookmark);
//   writer.EndChart();   // throws ChartPdfWriterError

#include "chartfile/ChartPdfWriterDocument.h"
#include "chartfile/ChartPdfWriterPrepare.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class TPdfWriteForm {
public:
    // Draws the numbers of the image resource names; any value, used modulo 65535.
    using RandomSource = std::function<quint32()>;
    using Clock = std::function<QDateTime()>;

    TPdfWriteForm();

    // Set by the caller: page size before BeginChart, the rest before each AddPageImage.
    bool Stretch = true;
    int Quality = 80;
    int PageWidth = 700;
    int PageHeight = 1000;
    QString CreatorText;
    QString ImagePath;
    QString TitleText;
    QString NoteText; // the note annotation's text; empty: the page gets no annotation

    // Page size minus the margins, fixed by BeginChart.
    int LayoutWidth = 634;
    int LayoutHeight = 934;

    // Starts a document in memory for `path`, dropping any unfinished one.
    void BeginChart(const QString& path);

    // Adds a page from ImagePath, TitleText, NoteText, Stretch and Quality. A missing or
    // unreadable image is passed over without a word: false, and nothing is added.
    bool AddPageImage();

    // The same with an image prepared elsewhere (preparePageImage on a worker thread) for
    // the current layout, Stretch and Quality.
    bool AddPreparedPage(const PreparedPageImage& image);

    // A top-level outline item whose destination is the page added last; nothing when no page
    // was added yet.
    void AddBookmark(const QString& title);

    // Writes the document to the path given to BeginChart, creating or replacing the file, and
    // discards the document. Throws ChartPdfWriterError when no page was added or the file
    // could not be written; an earlier file of that name is then left as it was.
    void EndChart();

    bool hasDocument() const { return document_.has_value(); }
    int pageCount() const { return document_ ? static_cast<int>(document_->pages.size()) : 0; }
    QSize layoutSize() const { return QSize(LayoutWidth, LayoutHeight); }

    // Tests make the output repeatable with a fixed random source and clock.
    void setRandomSource(RandomSource random) { random_ = std::move(random); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    QDateTime now() const { return clock_(); }

private:
    QByteArray drawImageName() const;

    RandomSource random_;
    Clock clock_;
    QString path_;
    std::optional<ChartDocument> document_;
};
