// Page acquisition: "取込" reads the Scanner folder into the working pages, "画像ファイル読込み"
// copies image files in, and the scanner (SANE) saves one scanned page into a file.

#include "chartwork/MainForm.h"

#include "chartwork/Thumbnail.h"
#include "chartwork/WorkingPagesFiles.h"
#include "imaging/JpegCodec.h"
#include "platform/Dialogs.h"
#include "platform/Scanner.h"
#include "platform/ScannerError.h"
#include "platform/ScannerSourceDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>

#include <algorithm>

namespace {

QAction* menuActionOf(QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    return menu ? menu->menuAction() : nullptr;
}

// The save dialog's filters, in the order whose index picks the extension below.
const QStringList& twainFilters() {
    static const QStringList filters = {
        QStringLiteral("JPEG (*.jpg *.jpeg)"), QStringLiteral("BMP (*.bmp)"),
        QStringLiteral("TIFF (*.tiff *.tif)"), QStringLiteral("PNG (*.png)")};
    return filters;
}
const char* const twainExtensions[] = {".jpg", ".bmp", ".tif", ".png"};

// `path` with the extension of its name replaced (or added).
QString withExtension(const QString& path, const char* extension) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash + 1 ? path.left(dot) : path;
    return stem + QLatin1String(extension);
}

// Writes the image whole or not at all, in the format of the extension (JPEG at quality 80).
bool writeImageFile(const QImage& image, const QString& path, int filter) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (filter == 0) {
        const QByteArray jpeg = encodeJpeg(image, 80);
        if (jpeg.isEmpty() || file.write(jpeg) != jpeg.size())
            return false;
    } else {
        static const char* const formats[] = {"jpeg", "bmp", "tiff", "png"};
        QImageWriter writer(&file, formats[filter]);
        if (!writer.write(image))
            return false;
    }
    return file.commit();
}

const QStringList& readRefusals() {
    static const QStringList texts = {QStringLiteral("指定のフォルダーがありません。"),
                                      QStringLiteral("ファイル形式が指定されていません。"),
                                      QStringLiteral("読込みファイルが指定されていません。")};
    return texts;
}

} // namespace

void TMainForm::connectAcquisition() {
    TwainScanner = new Scanner(this);
    connect(TwainScanner, &Scanner::acquired, this, &TMainForm::TwainAcquired);
    connect(TwainScanner, &Scanner::failed, this, &TMainForm::TwainFailed);
    connect(ScannerRead, &QPushButton::clicked, this, &TMainForm::ScannerReadClick);
    connect(ImageFileReadMenu, &QAction::triggered, this, &TMainForm::ReadFilesClick);
    connect(TwainSelectMenu, &QAction::triggered, this, &TMainForm::TwainSourceMenuClick);
    connect(TwainReadMenu, &QAction::triggered, this, &TMainForm::TwainReadMenuClick);
}

QString TMainForm::ImageFileFilter() const {
    return imageFileFilter(Reg.JpegType, Reg.TiffType, Reg.BitmapType, Reg.PngType);
}

QList<QObject*> TMainForm::busyControls() const {
    return {PageControl,
            SaveButton,
            ScannerRead,
            PidBtn,
            SubNoBtn,
            SearchBtn,
            PrintBtn,
            EraseBtn,
            IdEdit,
            VolNoEdit,
            menuActionOf(ImageFileReadMenu),
            menuActionOf(PageDeleteMenu),
            menuActionOf(PageRedrawMenu),
            menuActionOf(ReadSetMenu),
            VacuumMenu,
            UtilMenu->menuAction()};
}

void TMainForm::SetBusy(bool on) {
    auto setEnabled = [](QObject* control, bool enabled) {
        if (auto* widget = qobject_cast<QWidget*>(control))
            widget->setEnabled(enabled);
        else if (auto* action = qobject_cast<QAction*>(control))
            action->setEnabled(enabled);
    };
    auto isEnabled = [](QObject* control) {
        if (auto* widget = qobject_cast<QWidget*>(control))
            return widget->isEnabled();
        if (auto* action = qobject_cast<QAction*>(control))
            return action->isEnabled();
        return false;
    };
    const QList<QObject*> controls = busyControls();
    if (on) {
        // A long operation inside another keeps the states remembered by the outer one.
        if (busyDepth_++ == 0) {
            busyStates_.clear();
            for (QObject* control : controls)
                busyStates_.append(isEnabled(control));
            for (QObject* control : controls)
                setEnabled(control, false);
            MenteMenu->setEnabled(false);
        }
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        for (int i = 0; i < controls.size() && i < busyStates_.size(); ++i)
            setEnabled(controls[i], busyStates_[i]);
        // メンテナンス always shares the state of Vacuum.
        MenteMenu->setEnabled(VacuumMenu->isEnabled());
    }
    QCoreApplication::processEvents();
}

void TMainForm::ScannerReadClick() {
    NumberConfirmed = false;
    SetBusy(true);
    try {
        ReadScannerFolder();
    } catch (const std::exception& e) {
        Dialogs::instance().message(this, Dialogs::Kind::Error, QString::fromUtf8(e.what()),
                                    Dialogs::Abort);
        AddError(QStringLiteral("** Scanner Read Error"));
    }
    SetBusy(false);
    PageDeleteMenu->setEnabled(ListView1->count() > 0);
    SaveButton->setEnabled(false);
    PrintBtn->setEnabled(false);
    EraseBtn->setEnabled(false);
    PageControl->setCurrentWidget(Pagekakunin);
    // A read that could not start says why (no folder, no file type, no file); that reason
    // stays in view rather than giving way to the general text.
    if (!readRefusals().contains(StatusText(1)))
        SetStatus(1, WorkingPages.isEmpty() ? QStringLiteral("画像がありません。")
                                            : QStringLiteral("患者番号を入力してください。"));
}

void TMainForm::ReadScannerFolder() {
    SetStatus(1, QString());
    PageControl->setCurrentWidget(Pagekakunin);
    if (!QFileInfo(Ws.scannerDir()).isDir()) {
        SetStatus(1, QStringLiteral("指定のフォルダーがありません。"));
        return;
    }
    const QString filter = ImageFileFilter();
    if (filter.isEmpty()) {
        SetStatus(1, QStringLiteral("ファイル形式が指定されていません。"));
        return;
    }
    AddScannerFiles(filterPatterns(filter));
    if (WorkingPages.isEmpty()) {
        PagePicked = false;
        CurrentPage = -1;
        ListView1->setCurrentItem(nullptr);
    } else {
        PagePicked = true;
        CurrentPage = 0;
        ListView1->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    }
    SetStatus(0, QString::number(WorkingPages.count()));
}

void TMainForm::AddScannerFiles(const QStringList& patterns) {
    SetStatus(1, QString());
    QStringList names = matchingFiles(Ws.scannerDir(), patterns);
    if (names.isEmpty()) {
        SetStatus(1, QStringLiteral("読込みファイルが指定されていません。"));
        return;
    }
    if (Reg.Sequence != 0)
        std::reverse(names.begin(), names.end());
    QStringList fresh;
    for (const QString& name : names)
        if (!HasPageFile(name))
            fresh << name;
    // Thumbnails are made on worker threads; pages are appended in order as each is ready,
    // and the first unreadable one stops the walk with the pages before it kept.
    QStringList paths;
    for (const QString& name : fresh)
        paths << PagePath(name);
    ThumbnailBatch batch(paths, ThumbNailList.side());
    for (int i = 0; i < fresh.size(); ++i)
        appendPage(fresh[i], QString(), QString(), batch.take(i));
}

void TMainForm::ReadFilesClick() {
    SetStatus(1, QString());
    const QString start = QFileInfo(Reg.FileOpenDir).isDir() ? Reg.FileOpenDir : QDir::homePath();
    const QStringList files = Dialogs::instance().openFiles(
        this, QString(), start,
        {QStringLiteral("画像ファイル (*.jpg *.Jpeg *.tif *.tiff *.bmp *.png)")});
    // The dialog gives no list both when cancelled and when nothing was chosen.
    if (files.isEmpty()) {
        SetStatus(1, QStringLiteral("読み込みファイルの指定はキャンセルされました。"));
        return;
    }
    Reg.FileOpenDir = QFileInfo(files.constFirst()).absolutePath();
    bool copied = true;
    for (const QString& file : files) {
        if (!copyIntoFolder(file, Ws.scannerDir())) {
            copied = false;
            break;
        }
    }
    ScannerReadClick();
    // The read sets its own status text; a failed copy must not pass for a full success.
    if (!copied)
        SetStatus(1, QStringLiteral("画像ファイルの読込みに失敗しました。"));
}

void TMainForm::TwainSourceMenuClick() {
    if (TwainScanner->isBusy())
        return;
    QList<ScannerDevice> devices;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        devices = scannerDevices();
    } catch (const ScannerError& e) {
        AddError(QStringLiteral("** ") + QString::fromLocal8Bit(e.what()));
    }
    QApplication::restoreOverrideCursor();
    ScannerSourceDialog dialog(devices, TwainScanner->device(), this);
    const bool chosen = Dialogs::instance().exec(&dialog) == QDialog::Accepted &&
                        !dialog.selectedDevice().isEmpty();
    if (chosen)
        TwainScanner->setDevice(dialog.selectedDevice());
    TwainReadMenu->setEnabled(chosen);
}

void TMainForm::TwainReadMenuClick() {
    SetStatus(1, QString());
    NumberConfirmed = false;
    TwainScanner->acquire();
}

void TMainForm::TwainAcquired(const QImage& image) {
    int filter = -1;
    const QString chosen =
        Dialogs::instance().saveFile(this, QString(), Ws.scannerDir() + QLatin1Char('/'),
                                     twainFilters(), QStringLiteral("jpg"), &filter);
    if (chosen.isEmpty())
        return;
    if (filter < 0 || filter > 3)
        filter = 0;
    if (!writeImageFile(image, withExtension(chosen, twainExtensions[filter]), filter)) {
        SetStatus(1, QStringLiteral("＊＊＊ Twainの読み込みに失敗しました。"));
        AddError(QStringLiteral("*** Twain Read Error"));
    }
}

void TMainForm::TwainFailed(const QString&) {
    SetStatus(1, QStringLiteral("＊＊＊ Twainの読み込みに失敗しました。"));
    AddError(QStringLiteral("*** Twain Read Error"));
}
