// Saving a chart: "保存" writes the working pages as the volume's chart PDF in the patient
// folder and inserts or updates its index row, then resets the chart state.

#include "chartwork/MainForm.h"

#include "chartfile/ChartPdfWriterError.h"
#include "chartfile/ChartPdfWriterPages.h"
#include "chartwork/NotMakeFolderDialog.h"
#include "chartwork/PatientTab.h"
#include "core/DateTimeText.h"
#include "core/FileNames.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>
#include <stdexcept>

namespace {

// A path of the chart state (system form, or a base folder in native form followed by a
// system-form rest) as the file system and the logs take it.
QString nativeVolumePath(const QString& path) {
    return toNativePath(reduceSeparators(toSystemPath(path)));
}

// Keeps the window from closing while a volume is written: the write lets window events run,
// and closing would disconnect the index before the row is written.
class CloseGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void TMainForm::connectSaving() {
    SaveClock = [] {
        return QDateTime::currentDateTime();
    };
    SaveProgress = new QProgressBar(this);
    SaveProgress->setObjectName(QStringLiteral("SaveProgress"));
    SaveProgress->setAccessibleName(QStringLiteral("保存の進み具合"));
    SaveProgress->setFormat(QStringLiteral("%v / %m"));
    SaveProgress->setFixedWidth(160);
    SaveProgress->hide();
    statusBar()->addPermanentWidget(SaveProgress);
    connect(SaveButton, &QPushButton::clicked, this, &TMainForm::SaveButtonClick);
    connect(EraseBtn, &QPushButton::clicked, this, &TMainForm::EraseBtnClick);
}

QString TMainForm::PageHeader(const QDateTime& at) const {
    return Reg.HPCode + QLatin1Char(' ') + Reg.HPName + QLatin1Char(' ') + Reg.KaCode +
           QLatin1Char(' ') + dateTimeText(at) + QLatin1Char(' ') + QString::number(PatientNo) +
           QLatin1Char(' ') + QString::number(VolumeNo);
}

void TMainForm::WriteVolumePdf(const QString& path) {
    QList<ChartPageInput> pages;
    // A volume whose state is Idle gets no page, and so fails to be written.
    if (FilingState != TFilingState::Idle) {
        for (const APageList& page : WorkingPages)
            pages.append({PagePath(pageNameOf(page.FileName)), page.Note, page.Bookmark});
    }
    const ChartPdfSettings settings{Reg.PdfPageWidth, Reg.PdfPageHeight, Reg.Stretch, Reg.Quality};

    // The controls are locked while the pages are written: a click on "クリア" would empty
    // the Scanner folder under the writer, a second "保存" would start a second write.
    SetBusy(true);
    const bool clearEnabled = ClearButton->isEnabled();
    const bool closeEnabled = CloseButton->isEnabled();
    ClearButton->setEnabled(false);
    CloseButton->setEnabled(false);
    CloseGuard guard;
    installEventFilter(&guard);
    writingVolume_ = true;
    SaveProgress->setRange(0, std::max<int>(1, int(pages.size())));
    SaveProgress->setValue(0);
    SaveProgress->show();

    auto restore = [&] {
        SaveProgress->hide();
        writingVolume_ = false;
        removeEventFilter(&guard);
        ClearButton->setEnabled(clearEnabled);
        CloseButton->setEnabled(closeEnabled);
        SetBusy(false);
    };
    ChartWriteHooks hooks;
    hooks.status = [this](const QString& text) {
        SetStatus(1, text);
    };
    hooks.progress = [this](int done, int total) {
        SaveProgress->setMaximum(total);
        SaveProgress->setValue(done);
    };
    hooks.idle = [] {
        QCoreApplication::processEvents();
    };
    try {
        writeChartPdf(PdfWriteForm, nativeVolumePath(path), settings, pages,
                      PageHeader(SaveClock()), hooks);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TMainForm::saveFailure(const QString& box, int button, const QString& log,
                            const QString& status) {
    Dialogs::instance().message(this, Dialogs::Kind::Error, box, button);
    AddError(log);
    if (!status.isNull())
        SetStatus(1, status);
}

void TMainForm::databaseWriteFailed(const QString& kind) {
    saveFailure(QStringLiteral("データベースエラー\n書き込みに失敗しました。"), Dialogs::Ok,
                QStringLiteral("*** DataBase Write Error : ") + kind,
                QStringLiteral("データベースへの書き込みに失敗しました。"));
}

void TMainForm::saveSucceeded(const QString& file) {
    Dialogs::instance().message(this, Dialogs::Kind::Information, QStringLiteral("保存しました。"),
                                Dialogs::Ok);
    WriteActivity(file + QStringLiteral(" : DBに記録"));
    // The reset empties the status bar; the text is shown after it, so that it stays.
    ResetChart();
    SetStatus(1, QStringLiteral("保存しました。"));
    PrintBtn->setEnabled(true);
    EraseBtn->setEnabled(true);
}

void TMainForm::SaveButtonClick() {
    if (writingVolume_)
        return;
    SetStatus(1, QString());
    if (!PatientTab->CheckPatientFields()) {
        Dialogs::instance().message(
            this, Dialogs::Kind::Warning,
            QStringLiteral(
                "データエラー\n修正してください。\n修正項目は、画面の下に表示しています。"),
            Dialogs::Ok);
        AddError(QStringLiteral("* Input Data Error"));
        return;
    }
    bool done = false;
    if (FilingState == TFilingState::New)
        done = SaveNewVolume();
    else if (FilingState == TFilingState::Overwrite)
        done = SaveUpdateVolume();
    SaveButton->setEnabled(!done);
    PrintBtn->setEnabled(done);
    EraseBtn->setEnabled(done);
    LastPatientNo = 0;
}

IndexRow TMainForm::SaveRow(const QDateTime& at) const {
    IndexRow row;
    row.patientNo = PatientNo;
    row.volumeNo = VolumeNo;
    row.tovaneDate = dateTimeText(at);
    row.filePath = VolumeFolder;
    row.inetPath = nativeVolumePath(VolumePath);
    row.fileName = VolumeFileName;
    row.keys = PatientTab->keys(); // the index cuts each to its byte limit
    return row;
}

bool TMainForm::SaveNewVolume() {
    const QDateTime now = SaveClock();
    setFolderRule(DirFile, Reg);
    DirFile.SetNumber(PatientNo);
    VolumeFileName =
        volumePdfName(Reg.HPCode, PatientNo, VolumeNo, Reg.WriteDate, Reg.KaCode, now.date());
    VolumeFolder = DirFile.RelativeFolder();
    VolumePath = DirFile.FullFolder() + QLatin1Char('\\') + VolumeFileName;
    const QString file = nativeVolumePath(VolumePath);

    if (QFileInfo::exists(file)) {
        saveFailure(QStringLiteral("システムエラーです。\n管理者へ連絡して下さい。"), Dialogs::Ok,
                    QStringLiteral("*** ") + file +
                        QStringLiteral(" System:File is not registed in Database but Existed "
                                       ",so OverWrite raising)"),
                    QStringLiteral("書き込みに失敗しました。"));
        return true;
    }
    if (!DirFile.EnsureFolder()) {
        TNotMakeFolder::showFor(this, toNativePath(DirFile.FullFolder()));
        return true;
    }
    try {
        WriteVolumePdf(VolumePath);
    } catch (const std::exception&) {
        saveFailure(QStringLiteral("PDFを作成できませんでした。"), Dialogs::Ok,
                    QStringLiteral("*** ") + file + QStringLiteral(" Create Error"),
                    QStringLiteral("作成に失敗しました。"));
        return true;
    }
    FilingState = TFilingState::Idle;
    SaveButton->setEnabled(false);
    WriteActivity(file + QStringLiteral(" : Pdf作成(New)"));

    try {
        Index.insertVolume(SaveRow(now)); // its own transaction, rolled back on failure
    } catch (const std::exception&) {
        databaseWriteFailed(QStringLiteral("New"));
        return true;
    }
    saveSucceeded(file);
    return true;
}

bool TMainForm::SaveUpdateVolume() {
    SetStatus(1, QString());
    const QString file = nativeVolumePath(VolumePath);
    const QFileInfo info(file);
    const QString writeError = QStringLiteral("書き込みエラーです。\n媒体を確認してください。");
    const QString inhibitLog =
        QStringLiteral("*** ") + file + QStringLiteral(" System:File is not inhibit");

    if (!info.exists()) {
        saveFailure(QStringLiteral("元のPDF Fileが見つかりません。"), Dialogs::Ok,
                    QStringLiteral("*** ") + file + QStringLiteral(" System:File is not existing"),
                    QStringLiteral("探索に失敗しました。"));
        return true;
    }
    // A read-only chart file: without its owner's write permission (which holds for root as
    // well), or not writable by this user.
    if (!(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable()) {
        saveFailure(writeError, Dialogs::Ok, inhibitLog, QStringLiteral("更新に失敗しました。"));
        return true;
    }
    // The new file is written beside the old one and renamed over it when complete, so the
    // folder must take a new file and let the old one go.
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable()) {
        saveFailure(writeError, Dialogs::Ok, inhibitLog,
                    QStringLiteral("書き込みに失敗しました。"));
        return true;
    }
    if (!folder.isDir()) {
        TNotMakeFolder::showFor(this, folder.absoluteFilePath());
        return true;
    }
    const QDateTime now = SaveClock();
    try {
        WriteVolumePdf(VolumePath);
    } catch (const std::exception&) {
        saveFailure(QStringLiteral("PDFを作成できませんでした。"), Dialogs::Ok,
                    QStringLiteral("*** ") + file + QStringLiteral(" Create Error"),
                    QStringLiteral("作成に失敗しました。"));
        return true;
    }
    FilingState = TFilingState::Idle;
    SaveButton->setEnabled(false);
    WriteActivity(file + QStringLiteral(" : Pdf作成(Update)"));

    try {
        // The file columns stay as they are. A row that vanished since the volume was
        // selected (erased meanwhile, say) leaves the new file without a row: that is no
        // success either.
        if (Index.updateVolume(SaveRow(now)) == 0)
            throw std::runtime_error("the volume has no row");
    } catch (const std::exception&) {
        databaseWriteFailed(QStringLiteral("Add"));
        return false;
    }
    saveSucceeded(file);
    return true;
}
