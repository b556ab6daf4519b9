#pragma once
// The tab "患者基本情報": the patient's basic facts that are stored with a volume's index row
// as KEY1 to KEY8, and the reference data shown from ORCA, which is never stored.

#include "index/IndexRow.h"

#include <QObject>
#include <QString>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TRegistory;

class TPatientTab : public QObject {
    Q_OBJECT

public:
    enum Sex { None = -1, Male = 0, Female = 1 };
    // Sets the text of status bar panel 0 or 1 of the main window.
    using StatusSetter = std::function<void(int panel, const QString& text)>;

    // Builds the two groups into `tab`. `settings` must outlive the tab.
    TPatientTab(QWidget* tab, const TRegistory& settings, StatusSetter status);

    // Empties the eight patient fields and clears the sex choice; the ORCA reference group
    // keeps what it holds.
    void ClearPatientFields();

    // True when a save may go on. With KeyWordUse off nothing is checked. Otherwise the
    // required fields are checked in order, the first one missing is named in the status
    // bar ("患者基本情報" in panel 0, its error in panel 1) and the result is false. A field
    // holding only blanks counts as filled.
    bool CheckPatientFields();

    // The fields as KEY1 to KEY8, each cut to the column's 48 bytes (code page 932); the sex
    // as "男性", "女性" or empty.
    IndexKeys keys() const;
    // Puts KEY1 to KEY8 into the fields as they stand, except KEY3: with the blanks around it
    // removed, "男性" chooses 男, "女性" chooses 女, anything else clears the choice.
    void setKeys(const IndexKeys& keys);

    Sex sex() const;
    void setSex(Sex sex);

    // Group " 患者 "
    QGroupBox* PatientGroup = nullptr;
    QLineEdit* PName = nullptr;
    QLineEdit* PKana = nullptr;
    QButtonGroup* Psex = nullptr; // ids Male and Female
    QRadioButton* PsexMale = nullptr;
    QRadioButton* PsexFemale = nullptr;
    QLineEdit* PBirth = nullptr;
    QLineEdit* Pubin = nullptr;
    QLineEdit* Padress = nullptr;
    QLineEdit* Ptel = nullptr;
    QLineEdit* Pkeitai = nullptr;
    QLabel* RequiredNote = nullptr;
    QPushButton* GetOrcaBtn = nullptr;
    // The caption labels of the eight patient fields, in field order.
    QLabel* PatientLabels[keyCount] = {};

    // Group "　Orca参照 "
    QGroupBox* OrcaGroup = nullptr;
    QPlainTextEdit* Pbikou = nullptr;
    QPlainTextEdit* Ptaboo = nullptr;
    QPlainTextEdit* Parerugi = nullptr;
    QPlainTextEdit* Pkansensho = nullptr;
    QLineEdit* RName = nullptr;
    QLineEdit* Raddress = nullptr;
    QLineEdit* Rtel = nullptr;
    QLineEdit* Kname = nullptr;
    QLineEdit* Kaddress = nullptr;
    QLineEdit* Ktel = nullptr;

private:
    QWidget* buildPatientGroup(QWidget* tab);
    QWidget* buildOrcaGroup(QWidget* tab);

    const TRegistory& settings_;
    StatusSetter status_;
};
