// Patient and volume selection: "確認" accepts the patient number and lists the patient's
// volumes, "選択" accepts the volume number and, for an existing volume, loads its pages and
// patient facts from its chart PDF; "クリア" and the other resets of the chart state.

#include "chartwork/MainForm.h"

#include "chartfile/ChartFileReader.h"
#include "chartwork/PatientTab.h"
#include "core/PathString.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <optional>

namespace {

const QColor statusWhite(255, 255, 255);
const QColor statusLime(0, 255, 0);
const QColor statusRed(255, 0, 0);

void paintBackground(QLineEdit* line, const QColor& color) {
    QPalette palette = line->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
}

// A typed number: blanks around it are allowed, anything else that is not a decimal integer
// within 32 bits is not a number.
std::optional<int> parseNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString dbSystemError() {
    return QStringLiteral("DB System エラー");
}

// A read-only chart file: one without its owner's write permission (the counterpart of the
// read-only attribute, which also holds for root), or one this user may not write.
bool isReadOnly(const QString& path) {
    const QFileInfo info(path);
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}

} // namespace

void TMainForm::connectSelection() {
    PatientTab = new TPatientTab(
        KanjaKihon, Reg, [this](int panel, const QString& text) { SetStatus(panel, text); });
    // Typed numbers are looked up, never added to the list of the patient's volumes.
    VolNoEdit->setInsertPolicy(QComboBox::NoInsert);
    connect(PidBtn, &QPushButton::clicked, this, &TMainForm::PidBtnClick);
    connect(SubNoBtn, &QPushButton::clicked, this, &TMainForm::SubNoBtnClick);
    connect(ClearButton, &QPushButton::clicked, this, &TMainForm::ClearButtonClick);
}

void TMainForm::ResetSelection() {
    SetStatus(0, QString());
    SetStatus(1, QString());
    FilingState = TFilingState::Idle;
    SubNoBtn->setEnabled(false);
    VolNoEdit->clear();
    VolNoEdit->setEditText(QString());
    VolNoEdit->setEnabled(false);
    for (QLineEdit* line : {StatusMess1, StatusMess2, StatusMess3})
        line->clear();
    SaveButton->setEnabled(false);
    PrintBtn->setEnabled(false);
    EraseBtn->setEnabled(false);
    SearchBtn->setEnabled(true);
    CloseButton->setEnabled(true);
    BeforeBtn->setEnabled(false);
    AfterBtn->setEnabled(false);
    PatientTab->ClearPatientFields();
}

void TMainForm::ResetChart() {
    EmptyFolder(Ws.scannerDir());
    ClearWorkingPages();
    fillingList_ = true;
    ListView1->clear();
    fillingList_ = false;
    CurrentPage = -1;
    PagePicked = false;
    LastPatientNo = 0;
    ResetThumbnails();
    NumberConfirmed = false;
    ResetSelection();
    Image1->hide();
}

void TMainForm::ClearButtonClick() {
    // "クリア" stays enabled while a long operation lets window events run; emptying the
    // Scanner folder and the pages under a volume being loaded would leave the two out of step.
    if (busyDepth_ > 0)
        return;
    ResetChart();
}

void TMainForm::refuseEntry(const QString& text) {
    Dialogs::instance().message(this, Dialogs::Kind::Warning, text, Dialogs::Yes);
    SetStatus(1, text);
}

void TMainForm::setStatusLineColor(const QColor& color) {
    for (QLineEdit* line : {StatusMess1, StatusMess2, StatusMess3})
        paintBackground(line, color);
}

void TMainForm::PidBtnClick() {
    const QString text = IdEdit->text();
    if (text.isEmpty())
        return refuseEntry(QStringLiteral("患者番号がありません。"));
    const std::optional<int> number = parseNumber(text);
    if (!number)
        return refuseEntry(QStringLiteral("患者番号に誤りがあります。"));
    if (*number < 0 || *number > 99999999)
        return refuseEntry(QStringLiteral("患者番号の範囲を越えています。"));
    // 0 is also the "none accepted" value, so it is refused right after a reset.
    if (*number == LastPatientNo)
        return refuseEntry(QStringLiteral("患者番号が前と同じです。"));

    PatientNo = LastPatientNo = *number;
    ResetSelection();
    PageControl->setCurrentWidget(KanjaKihon);

    std::vector<IndexRow> rows;
    try {
        rows = Index.patientVolumes(PatientNo);
    } catch (const std::exception&) {
        Dialogs::instance().message(this, Dialogs::Kind::Error, dbSystemError(), Dialogs::Abort);
        AddError(QStringLiteral("*** Id No Search Database Error"));
        return;
    }

    VolNoEdit->clear();
    if (rows.empty()) {
        VolNoEdit->setEditText(QStringLiteral("0"));
        FilingState = TFilingState::New;
        VolumeNo = 0;
        setStatusLineColor(statusWhite);
        StatusMess1->setText(QStringLiteral("患者番号の新規登録"));
        StatusMess3->setText(QStringLiteral("端末番号") + Reg.KaCode);
        NumberConfirmed = true;
        SaveButton->setText(QStringLiteral("保存"));
        SaveButton->setEnabled(true);
        for (QWidget* control : {static_cast<QWidget*>(SubNoBtn), static_cast<QWidget*>(VolNoEdit),
                                 static_cast<QWidget*>(PrintBtn), static_cast<QWidget*>(EraseBtn)})
            control->setEnabled(false);
        if (WorkingPages.isEmpty()) {
            SetStatus(1, QStringLiteral("書き込みデータが必要です。"));
            SaveButton->setEnabled(false);
        }
        return;
    }

    // The list shows the volume numbers sorted as text (1, 10, 2).
    QStringList volumes;
    for (const IndexRow& row : rows)
        volumes << QString::number(row.volumeNo);
    std::sort(volumes.begin(), volumes.end());
    VolNoEdit->addItems(volumes);
    VolNoEdit->setCurrentIndex(-1);
    VolNoEdit->setEditText(QStringLiteral("0"));
    SubNoBtn->setEnabled(true);
    VolNoEdit->setEnabled(true);
    PrintBtn->setEnabled(false);
    EraseBtn->setEnabled(false);
    SaveButton->setEnabled(false);
}

void TMainForm::SubNoBtnClick() {
    const QString text = VolNoEdit->currentText();
    if (text.isEmpty())
        return refuseEntry(QStringLiteral("連番がありません。"));
    const std::optional<int> number = parseNumber(text);
    if (!number)
        return refuseEntry(QStringLiteral("連番に誤りがあります。"));
    if (*number < 0 || *number > 9999)
        return refuseEntry(QStringLiteral("連番の範囲を越えています。"));

    VolumeNo = *number;
    std::vector<IndexRow> rows;
    try {
        rows = Index.volumeRows(PatientNo, VolumeNo);
    } catch (const std::exception&) {
        Dialogs::instance().message(this, Dialogs::Kind::Error, dbSystemError(), Dialogs::Abort);
        AddError(QStringLiteral("*** Database System Error : 連番"));
        return;
    }
    NumberConfirmed = true;

    if (rows.empty()) {
        FilingState = TFilingState::New;
        setStatusLineColor(statusWhite);
        StatusMess1->setText(QStringLiteral("連番の新規作成"));
        StatusMess2->clear();
        SaveButton->setText(QStringLiteral("保存"));
        SaveButton->setEnabled(true);
        PrintBtn->setEnabled(false);
        EraseBtn->setEnabled(false);
    } else {
        FilingState = TFilingState::Overwrite;
        setStatusLineColor(statusLime);
        StatusMess1->setText(QStringLiteral("カルテに上書きします。"));
        if (Reg.WriteInhibit) {
            StatusMess2->setText(QStringLiteral("上書き禁止です。"));
            SaveButton->setText(QStringLiteral("不可"));
            SaveButton->setEnabled(false);
        } else {
            SaveButton->setText(QStringLiteral("上書"));
            SaveButton->setEnabled(true);
        }
        PrintBtn->setEnabled(false);
        EraseBtn->setEnabled(false);

        const IndexRow& row = rows.front();
        VolumeFolder = row.filePath;
        VolumeFileName = row.fileName;
        PatientTab->setKeys(row.keys);
        VolumePath = Reg.Target + row.filePath + QStringLiteral("\\") + row.fileName;
        const QString file = toNativePath(VolumePath);

        if (!QFileInfo(file).isFile()) {
            // The volume stays selected; saving reports the missing file.
            Dialogs::instance().message(this, Dialogs::Kind::Error, dbSystemError(),
                                        Dialogs::Abort);
            AddError(QStringLiteral("*** Database Entry : PDFFile Not Exist Error"));
            return;
        }
        if (isReadOnly(file)) {
            paintBackground(StatusMess2, statusRed);
            StatusMess2->setText(QStringLiteral("書き込み禁止です。"));
            SaveButton->setText(QStringLiteral("不可"));
            SaveButton->setEnabled(false);
            return;
        }
        if (!loadSelectedVolume())
            return;
    }

    StatusMess3->setText(QStringLiteral("端末番号 ") + Reg.KaCode);
    if (SaveButton->isEnabled() && WorkingPages.isEmpty()) {
        Dialogs::instance().message(
            this, Dialogs::Kind::Error,
            QStringLiteral("カルテデータがありません\nスキャンして下さい。"), Dialogs::Ok);
        AddError(QStringLiteral("* Image is nothing"));
        SetStatus(1, QStringLiteral("スキャンと取込が必要です。"));
        SaveButton->setEnabled(false);
    }
}

bool TMainForm::loadSelectedVolume() {
    QString failure;
    SetBusy(true);
    try {
        ReadChartPdf(toNativePath(VolumePath), [this](const ChartPdfPage& page) {
            AddStoredPage(page.jpeg, page.note, page.imageName, page.bookmark);
            // The window repaints between pages of a long volume.
            QCoreApplication::processEvents();
        });
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    SetBusy(false);

    if (!failure.isEmpty()) {
        // The file is not open for overwriting: a save must not replace a volume whose pages
        // could not all be read back. Pages handed over before the failure stay.
        FilingState = TFilingState::Idle;
        SaveButton->setEnabled(false);
        setStatusLineColor(statusWhite);
        StatusMess1->clear();
        StatusMess2->clear();
        Dialogs::instance().message(this, Dialogs::Kind::Error, failure, Dialogs::Ok);
        AddError(QStringLiteral("*** ") + failure);
        return false;
    }

    PageDeleteMenu->setEnabled(ListView1->count() > 0);
    PageControl->setCurrentWidget(Pagekakunin);
    if (WorkingPages.isEmpty()) {
        CurrentPage = -1;
    } else {
        CurrentPage = 0;
        PagePicked = true;
        ListView1->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        ListView1->setFocus();
    }
    return true;
}
