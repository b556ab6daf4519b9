// The chart state resets of the patient and volume selection.

#include "chartwork/MainForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
}

void TMainForm::ResetChart() {
    LastPatientNo = 0;
    NumberConfirmed = false;
    ResetSelection();
    Image1->hide();
}
