#include "SelectionFixture.h"

#include "PageListTestFiles.h"
#include "chartfile/ChartPdfWriterPages.h"
#include "chartwork/ErrorLogForm.h"
#include "chartwork/MainForm.h"
#include "core/FileNames.h"
#include "core/PathString.h"
#include "index/ChartIndex.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

SelectionFixture::SelectionFixture() {
    QDir().mkpath(target());
}

QString SelectionFixture::target() const {
    return temp.file(QStringLiteral("charts")) + QLatin1Char('/');
}

QString SelectionFixture::patientFolder(int patientNo) {
    TPathString path;
    path.SetNumber(patientNo);
    return path.RelativeFolder();
}

QString SelectionFixture::volumeFileName(int patientNo, int volumeNo) {
    return volumePdfName(QStringLiteral("1234567"), patientNo, volumeNo, false,
                         QStringLiteral("01"), QDate(2011, 5, 6));
}

void SelectionFixture::addIndexRow(int patientNo, int volumeNo, const QString& fileName,
                                   const IndexKeys& keys) {
    IndexRow row;
    row.patientNo = patientNo;
    row.volumeNo = volumeNo;
    row.tovaneDate = QStringLiteral("2011/05/06 9:03:07");
    row.filePath = patientFolder(patientNo);
    row.inetPath = toNativePath(target() + row.filePath + QStringLiteral("\\") + fileName);
    row.fileName = fileName;
    row.keys = keys;
    ChartIndex index;
    index.open(workspace.indexFile());
    index.insertVolume(row);
    index.close();
}

QString SelectionFixture::storeVolume(int patientNo, int volumeNo, const QList<StoredPage>& pages,
                                      const IndexKeys& keys) {
    const QString folder = toNativePath(target() + patientFolder(patientNo));
    EXPECT_TRUE(QDir().mkpath(folder));
    const QString fileName = volumeFileName(patientNo, volumeNo);
    const QString path = folder + QLatin1Char('/') + fileName;

    const QString sources = temp.file(QStringLiteral("sources/%1_%2").arg(patientNo).arg(volumeNo));
    QDir().mkpath(sources);
    QList<ChartPageInput> inputs;
    for (int i = 0; i < pages.size(); ++i) {
        const QString image = sources + QStringLiteral("/%1.jpg").arg(i);
        writeJpegPage(image, pages[i].colour);
        inputs.append({image, pages[i].note, pages[i].bookmark});
    }
    TPdfWriteForm writer;
    writeChartPdf(writer, path, ChartPdfSettings(), inputs, QStringLiteral("test volume"));
    addIndexRow(patientNo, volumeNo, fileName, keys);
    return path;
}

std::unique_ptr<TMainForm> SelectionFixture::startSelectionForm() {
    auto form = startForm();
    form->Reg.Target = target();
    form->Reg.SetKaCode(QStringLiteral("01"));
    form->Reg.WriteInhibit = false;
    return form;
}

void SelectionFixture::holdPage(TMainForm& form, const QString& name, const QColor& colour) {
    const QString path = workspace.scannerDir() + QLatin1Char('/') + name;
    writeJpegPage(path, colour);
    form.AddPage(path, QString(), QString());
}

void SelectionFixture::confirmPatient(TMainForm& form, const QString& text) {
    form.IdEdit->setText(text);
    form.PidBtn->click();
}

void SelectionFixture::selectVolume(TMainForm& form, const QString& text) {
    form.VolNoEdit->setEditText(text);
    form.SubNoBtn->click();
}

QStringList pageFiles(const TMainForm& form) {
    QStringList names;
    for (const APageList& page : form.WorkingPages)
        names << page.FileName;
    return names;
}

QStringList errorMessages(const TMainForm& form) {
    QStringList messages;
    for (const QString& line : form.errorLog()->Lines()) {
        const qsizetype mark = line.indexOf(QStringLiteral(": "));
        if (!line.isEmpty())
            messages << (mark < 0 ? line : line.mid(mark + 2));
    }
    return messages;
}
