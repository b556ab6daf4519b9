#pragma once
// The chart-PDF check and extraction: a PDF is a chart PDF of this program when its
// document information carries Author "Ｒ２．０" and Subject "ＬＩＴＥ"; its pages with more
// than 100 bytes of image are handed over with their JPEG bytes exactly as they stand in
// the file, their note, bookmark title and image name.

#include "chartfile/PdfStream.h"

#include <QList>

#include <functional>

struct ChartPdfPage {
    QString imageName; // base name of the page's image file
    QByteArray jpeg;
    QString note;
    QString bookmark;
};

// Removes leading and trailing blanks and control characters (U+0000 to U+0020); a
// full-width space is kept.
QString trimControls(const QString& text);

// Raises "Pdf is Not TovaneFile" or "Pdf is Not TovaneFile Lite" when the open PDF is not a
// chart PDF of this program.
void checkChartPdf(const TPdfStream& pdf);

// Opens the file, checks it, and hands every page with more than 100 bytes of image to
// `addStoredPage` in page order. Reader errors and the two check errors are raised as
// PdfError before any page is handed over.
void ReadChartPdf(const QString& fileName,
                  const std::function<void(const ChartPdfPage&)>& addStoredPage);

// ReadChartPdf collected into a list.
QList<ChartPdfPage> readChartPdfPages(const QString& fileName);
