// "確認" and "選択" on a real index: refused numbers, a patient with and without volumes, a
// free volume number, a failing index, and the resets.

#include "PageListTestFiles.h"
#include "SelectionFixture.h"
#include "chartwork/MainForm.h"
#include "chartwork/PatientTab.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using SelectionNumbers = SelectionFixture;

struct Refusal {
    const char* typed;
    const char* message;
};

// The colour a person sees at the line's edge, where no text is drawn.
QColor background(QLineEdit* line) {
    return line->grab().toImage().pixelColor(1, 1);
}

} // namespace

TEST_F(SelectionNumbers, RefusedPatientNumbersWarnAndChangeNothing) {
    auto form = startSelectionForm();
    holdPage(*form, QStringLiteral("held.jpg"), Qt::red);
    const Refusal cases[] = {
        {"", "患者番号がありません。"},
        {"12a", "患者番号に誤りがあります。"},
        {"1.5", "患者番号に誤りがあります。"},
        {"99999999999", "患者番号に誤りがあります。"}, // beyond 32 bits
        {"100000000", "患者番号の範囲を越えています。"},
        {"-1", "患者番号の範囲を越えています。"},
        // 0 is the "none accepted" value right after start.
        {"0", "患者番号が前と同じです。"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.boxes.clear();
        confirmPatient(*form, QString::fromUtf8(c.typed));
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Warning);
        EXPECT_EQ(dialogs.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Yes));
        EXPECT_EQ(form->StatusText(1), QString::fromUtf8(c.message));
        EXPECT_EQ(form->LastPatientNo, 0);
        EXPECT_EQ(form->FilingState, TFilingState::Idle);
        EXPECT_FALSE(form->NumberConfirmed);
        EXPECT_TRUE(form->StatusMess1->text().isEmpty());
        EXPECT_EQ(form->PageControl->currentWidget(), form->Pagekakunin);
        EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
    }
}

TEST_F(SelectionNumbers, ANumberIsAcceptedAgainOnlyAfterAnotherOrAReset) {
    auto form = startSelectionForm();
    confirmPatient(*form, QStringLiteral(" 5 "));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(form->PatientNo, 5);

    confirmPatient(*form, QStringLiteral("5"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("患者番号が前と同じです。"));

    confirmPatient(*form, QStringLiteral("0"));
    EXPECT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(form->PatientNo, 0);
    EXPECT_EQ(form->LastPatientNo, 0);

    confirmPatient(*form, QStringLiteral("5"));
    form->ClearButton->click();
    confirmPatient(*form, QStringLiteral("5"));
    EXPECT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(form->PatientNo, 5);
}

TEST_F(SelectionNumbers, PatientWithoutVolumesIsReadyAsVolumeZero) {
    auto form = startSelectionForm();
    form->PatientTab->PName->setText(QStringLiteral("前の患者"));

    // Without pages there is nothing to save yet.
    confirmPatient(*form, QStringLiteral("123"));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(form->PatientNo, 123);
    EXPECT_EQ(form->VolumeNo, 0);
    EXPECT_EQ(form->FilingState, TFilingState::New);
    EXPECT_TRUE(form->NumberConfirmed);
    EXPECT_EQ(form->StatusMess1->text(), QStringLiteral("患者番号の新規登録"));
    EXPECT_EQ(form->StatusMess3->text(), QStringLiteral("端末番号01"));
    for (QLineEdit* line : {form->StatusMess1, form->StatusMess2, form->StatusMess3})
        EXPECT_EQ(background(line), QColor(255, 255, 255));
    EXPECT_EQ(form->StatusText(1), QStringLiteral("書き込みデータが必要です。"));
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_EQ(form->VolNoEdit->currentText(), QStringLiteral("0"));
    EXPECT_EQ(form->PageControl->currentWidget(), form->KanjaKihon);
    EXPECT_TRUE(form->PatientTab->PName->text().isEmpty());
    for (const QWidget* off :
         {static_cast<QWidget*>(form->SubNoBtn), static_cast<QWidget*>(form->VolNoEdit),
          static_cast<QWidget*>(form->PrintBtn), static_cast<QWidget*>(form->EraseBtn)})
        EXPECT_FALSE(off->isEnabled());

    // With pages held it may be saved.
    holdPage(*form, QStringLiteral("held.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("124"));
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("保存"));
    EXPECT_TRUE(form->SaveButton->isEnabled());
    EXPECT_TRUE(form->StatusText(1).isEmpty());
    EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
}

TEST_F(SelectionNumbers, VolumesAreListedSortedAsTextWithZeroShown) {
    for (int volume : {2, 10, 1})
        addIndexRow(42, volume, SelectionFixture::volumeFileName(42, volume));
    addIndexRow(43, 7, SelectionFixture::volumeFileName(43, 7));
    auto form = startSelectionForm();
    confirmPatient(*form, QStringLiteral("42"));

    QStringList items;
    for (int i = 0; i < form->VolNoEdit->count(); ++i)
        items << form->VolNoEdit->itemText(i);
    EXPECT_EQ(items, (QStringList{"1", "10", "2"}));
    EXPECT_EQ(form->VolNoEdit->currentText(), QStringLiteral("0"));
    EXPECT_TRUE(form->VolNoEdit->isEnabled());
    EXPECT_TRUE(form->SubNoBtn->isEnabled());
    for (const QPushButton* off : {form->SaveButton, form->PrintBtn, form->EraseBtn})
        EXPECT_FALSE(off->isEnabled());
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
    EXPECT_FALSE(form->NumberConfirmed);
    EXPECT_TRUE(form->StatusMess1->text().isEmpty());
}

TEST_F(SelectionNumbers, RefusedVolumeNumbersWarnAndChangeNothing) {
    addIndexRow(42, 1, SelectionFixture::volumeFileName(42, 1));
    auto form = startSelectionForm();
    confirmPatient(*form, QStringLiteral("42"));
    const Refusal cases[] = {{"", "連番がありません。"},
                             {"x1", "連番に誤りがあります。"},
                             {"10000", "連番の範囲を越えています。"},
                             {"-1", "連番の範囲を越えています。"}};
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.boxes.clear();
        selectVolume(*form, QString::fromUtf8(c.typed));
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Warning);
        EXPECT_EQ(dialogs.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Yes));
        EXPECT_EQ(form->StatusText(1), QString::fromUtf8(c.message));
        EXPECT_EQ(form->FilingState, TFilingState::Idle);
        EXPECT_FALSE(form->NumberConfirmed);
        EXPECT_FALSE(form->SaveButton->isEnabled());
    }
}

TEST_F(SelectionNumbers, AFreeVolumeNumberStartsANewVolume) {
    addIndexRow(42, 1, SelectionFixture::volumeFileName(42, 1));
    auto form = startSelectionForm();
    holdPage(*form, QStringLiteral("held.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("42"));
    selectVolume(*form, QStringLiteral("3"));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(form->VolumeNo, 3);
    EXPECT_EQ(form->FilingState, TFilingState::New);
    EXPECT_TRUE(form->NumberConfirmed);
    EXPECT_EQ(form->StatusMess1->text(), QStringLiteral("連番の新規作成"));
    EXPECT_TRUE(form->StatusMess2->text().isEmpty());
    EXPECT_EQ(form->StatusMess3->text(), QStringLiteral("端末番号 01"));
    EXPECT_EQ(background(form->StatusMess1), QColor(255, 255, 255));
    EXPECT_EQ(form->SaveButton->text(), QStringLiteral("保存"));
    EXPECT_TRUE(form->SaveButton->isEnabled());
    EXPECT_FALSE(form->PrintBtn->isEnabled());
    EXPECT_FALSE(form->EraseBtn->isEnabled());
    EXPECT_EQ(pageFiles(*form), QStringList{"held.jpg"});
}

TEST_F(SelectionNumbers, AFreeVolumeNumberWithoutPagesAsksForAScan) {
    addIndexRow(42, 1, SelectionFixture::volumeFileName(42, 1));
    auto form = startSelectionForm();
    confirmPatient(*form, QStringLiteral("42"));
    selectVolume(*form, QStringLiteral("3"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text,
              QStringLiteral("カルテデータがありません\nスキャンして下さい。"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Ok));
    EXPECT_EQ(errorMessages(*form), QStringList{"* Image is nothing"});
    EXPECT_EQ(form->StatusText(1), QStringLiteral("スキャンと取込が必要です。"));
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_EQ(form->FilingState, TFilingState::New);
}

TEST_F(SelectionNumbers, AFailingIndexShowsItsBoxAndKeepsThePatientAccepted) {
    addIndexRow(42, 1, SelectionFixture::volumeFileName(42, 1));
    auto form = startSelectionForm();
    form->Index.close();
    confirmPatient(*form, QStringLiteral("42"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("DB System エラー"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Abort));
    EXPECT_EQ(form->LastPatientNo, 42);
    EXPECT_FALSE(form->SubNoBtn->isEnabled());

    form->Index.open(workspace.indexFile());
    form->ClearButton->click();
    confirmPatient(*form, QStringLiteral("42"));
    form->Index.close();
    selectVolume(*form, QStringLiteral("1"));
    ASSERT_EQ(dialogs.boxes.size(), 2);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("DB System エラー"));
    EXPECT_EQ(dialogs.last().buttons, int(Dialogs::Abort));
    EXPECT_EQ(errorMessages(*form),
              (QStringList{"*** Id No Search Database Error", "*** Database System Error : 連番"}));
    EXPECT_EQ(form->VolumeNo, 1);
    EXPECT_FALSE(form->NumberConfirmed);
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
}

TEST_F(SelectionNumbers, ClearEmptiesTheScannerFolderPagesSelectionAndPatientFields) {
    auto form = startSelectionForm();
    holdPage(*form, QStringLiteral("held.jpg"), Qt::red);
    confirmPatient(*form, QStringLiteral("9"));
    form->PatientTab->PName->setText(QStringLiteral("山田"));
    form->CurrentPage = 0;

    form->ClearButton->click();
    EXPECT_TRUE(QDir(workspace.scannerDir()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(form->WorkingPages.isEmpty());
    EXPECT_EQ(form->ListView1->count(), 0);
    EXPECT_EQ(form->CurrentPage, -1);
    EXPECT_EQ(form->LastPatientNo, 0);
    EXPECT_FALSE(form->NumberConfirmed);
    EXPECT_EQ(form->FilingState, TFilingState::Idle);
    EXPECT_TRUE(form->PatientTab->PName->text().isEmpty());
    EXPECT_FALSE(form->SaveButton->isEnabled());
    EXPECT_FALSE(form->SubNoBtn->isEnabled());
    EXPECT_FALSE(form->VolNoEdit->isEnabled());
    EXPECT_TRUE(form->VolNoEdit->currentText().isEmpty());
    for (const QLineEdit* line : {form->StatusMess1, form->StatusMess2, form->StatusMess3})
        EXPECT_TRUE(line->text().isEmpty());
    EXPECT_TRUE(form->SearchBtn->isEnabled());
    EXPECT_TRUE(form->CloseButton->isEnabled());
}
