#pragma once
// Main window tests of the patient and volume selection: stored volumes made for real (chart
// PDFs written by the chart PDF writer below a chart base folder, rows in the index file) and
// pages held before a selection.

#include "MainFormFixture.h"
#include "index/IndexRow.h"

#include <QColor>
#include <QList>
#include <QString>

class TMainForm;

struct StoredPage {
    QColor colour;
    QString note;
    QString bookmark;
};

class SelectionFixture : public MainFormFixture {
protected:
    SelectionFixture();

    // The chart base folder (Target) of the tests, native form with a trailing "/".
    QString target() const;

    // Writes the chart PDF of a volume into its patient folder below target() and inserts its
    // index row. Returns the PDF's native path. Call before startForm() or after it.
    QString storeVolume(int patientNo, int volumeNo, const QList<StoredPage>& pages,
                        const IndexKeys& keys = {});
    // Only the index row, pointing at a file that need not exist.
    void addIndexRow(int patientNo, int volumeNo, const QString& fileName,
                     const IndexKeys& keys = {});

    // Starts the main window with target() as Target and "01" as the terminal number.
    std::unique_ptr<TMainForm> startSelectionForm();

    // Puts a page of the given colour into the working pages, as a file of the Scanner folder.
    void holdPage(TMainForm& form, const QString& name, const QColor& colour);

    // Types into the patient number box and presses "確認"; the same for the volume.
    void confirmPatient(TMainForm& form, const QString& text);
    void selectVolume(TMainForm& form, const QString& text);

    // The patient folder of a patient, as the index keeps it (system form).
    static QString patientFolder(int patientNo);
    static QString volumeFileName(int patientNo, int volumeNo);
};

// The file names of the working pages, in order.
QStringList pageFiles(const TMainForm& form);
// The error log's messages without their timestamps.
QStringList errorMessages(const TMainForm& form);
