#pragma once
// The page steps of writing a chart PDF, over a list of page inputs that the main window maps
// its working pages onto: the whole volume for a save, one page for a send.
//
// Pages are prepared (loaded, scaled, encoded) on worker threads and added to the document in
// page order on the calling thread. Between pages, and while it waits for a worker, the caller's
// idle hook runs, so that the window repaints and stays responsive.

#include "chartfile/ChartPdfWriter.h"

#include <QList>
#include <QString>

#include <functional>

struct ChartPageInput {
    QString imagePath; // the page's image file
    QString note;      // becomes the page's note annotation when not empty
    QString bookmark;  // becomes a top-level outline item when not empty
};

struct ChartWriteHooks {
    // Status bar panel 1: "少々お待ちください。" at the start, then the image file path of every
    // page whose file exists (a missing file is passed over without a word).
    std::function<void(const QString&)> status;
    // Pages handled so far out of all pages.
    std::function<void(int done, int total)> progress;
    // Runs between pages and while waiting for a worker, e.g. QCoreApplication::processEvents.
    std::function<void()> idle;
};

struct ChartPdfSettings {
    int pageWidth = 700;   // PdfPageWidth
    int pageHeight = 1000; // PdfPageHeight
    bool stretch = true;   // Stretch
    int quality = 80;      // Quality
};

// The page steps for every input, in order, into the writer's open document: a page whose file
// is missing or unreadable is passed over (and so is its bookmark); the others are added with
// `title` as their title line, their note, and their bookmark pointing at them.
void writeChartPages(TPdfWriteForm& writer, const QList<ChartPageInput>& pages,
                     const QString& title, const ChartWriteHooks& hooks = {});

// A whole chart PDF: Creator the full-width date of today, BeginChart, the settings, the status
// text, the page steps and EndChart; returns the number of pages written. With no page written
// EndChart fails: ChartPdfWriterError, and an earlier file at `path` stays as it was.
int writeChartPdf(TPdfWriteForm& writer, const QString& path, const ChartPdfSettings& settings,
                  const QList<ChartPageInput>& pages, const QString& title,
                  const ChartWriteHooks& hooks = {});
