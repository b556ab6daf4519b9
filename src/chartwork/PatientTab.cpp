// The patient tab: its two groups, the mapping of the patient fields to and from the index
// keywords, and the check of the required fields before a save.

#include "chartwork/PatientTab.h"

#include "core/Cp932.h"
#include "core/Registory.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString male = QStringLiteral("男性");
const QString female = QStringLiteral("女性");

void paintRed(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    widget->setPalette(palette);
}

// A caption for a field, naming it for screen readers too. Required captions are red and bold.
QLabel* caption(const QString& text, QWidget* field, QWidget* parent, bool required = false) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(text);
    if (required) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        paintRed(label);
    }
    return label;
}

QLineEdit* lineEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPlainTextEdit* textBox(const char* name, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setTabChangesFocus(true);
    return box;
}

// Telephone numbers are typed in plain digits: the input method stays out of these fields.
void withoutInputMethod(QLineEdit* edit) {
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhDialableCharactersOnly | Qt::ImhPreferLatin);
}

} // namespace

TPatientTab::TPatientTab(QWidget* tab, const TRegistory& settings, StatusSetter status)
    : QObject(tab), settings_(settings), status_(std::move(status)) {
    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(buildPatientGroup(tab), 1);
    layout->addWidget(buildOrcaGroup(tab), 1);
}

QWidget* TPatientTab::buildPatientGroup(QWidget* tab) {
    PatientGroup = new QGroupBox(QStringLiteral(" 患者 "), tab);
    PatientGroup->setObjectName(QStringLiteral("PatientGroup"));
    auto* grid = new QGridLayout(PatientGroup);

    PName = lineEdit("PName", PatientGroup);
    PKana = lineEdit("PKana", PatientGroup);
    PBirth = lineEdit("PBirth", PatientGroup);
    Pubin = lineEdit("Pubin", PatientGroup);
    Padress = lineEdit("Padress", PatientGroup);
    Ptel = lineEdit("Ptel", PatientGroup);
    Pkeitai = lineEdit("Pkeitai", PatientGroup);
    withoutInputMethod(Ptel);
    withoutInputMethod(Pkeitai);

    // The sex is a choice of two in two columns; nothing chosen is a state of its own.
    auto* sexBox = new QWidget(PatientGroup);
    sexBox->setObjectName(QStringLiteral("Psex"));
    auto* sexRow = new QHBoxLayout(sexBox);
    sexRow->setContentsMargins(0, 0, 0, 0);
    PsexMale = new QRadioButton(QStringLiteral("男"), sexBox);
    PsexFemale = new QRadioButton(QStringLiteral("女"), sexBox);
    PsexMale->setObjectName(QStringLiteral("PsexMale"));
    PsexFemale->setObjectName(QStringLiteral("PsexFemale"));
    PsexMale->setAccessibleName(QStringLiteral("男"));
    PsexFemale->setAccessibleName(QStringLiteral("女"));
    sexRow->addWidget(PsexMale, 1);
    sexRow->addWidget(PsexFemale, 1);
    Psex = new QButtonGroup(this);
    Psex->addButton(PsexMale, Male);
    Psex->addButton(PsexFemale, Female);

    const struct {
        const char* text;
        QWidget* field;
        bool required;
    } rows[keyCount] = {{"患者氏名", PName, true},  {"フリガナ", PKana, true},
                        {"性別", sexBox, true},     {"生年月日", PBirth, false},
                        {"郵便番号", Pubin, false}, {"現住所", Padress, false},
                        {"電話番号", Ptel, false},  {"携帯電話", Pkeitai, false}};
    for (int i = 0; i < keyCount; ++i) {
        PatientLabels[i] =
            caption(QString::fromUtf8(rows[i].text), rows[i].field, PatientGroup, rows[i].required);
        grid->addWidget(PatientLabels[i], i, 0);
        grid->addWidget(rows[i].field, i, 1);
    }
    // The sex caption names the pair as a whole; each choice keeps its own name.
    PatientLabels[2]->setBuddy(PsexMale);

    RequiredNote = new QLabel(QStringLiteral("■色の項目は、必ず記入してください。"), PatientGroup);
    RequiredNote->setObjectName(QStringLiteral("RequiredNote"));
    paintRed(RequiredNote);
    grid->addWidget(RequiredNote, keyCount, 0, 1, 2);

    GetOrcaBtn = new QPushButton(QStringLiteral("ＯＲＣＡ情報の取込み"), PatientGroup);
    GetOrcaBtn->setObjectName(QStringLiteral("GetOrcaBtn"));
    GetOrcaBtn->setAccessibleName(GetOrcaBtn->text());
    grid->addWidget(GetOrcaBtn, keyCount + 1, 1, Qt::AlignLeft);
    grid->setRowStretch(keyCount + 2, 1);
    return PatientGroup;
}

QWidget* TPatientTab::buildOrcaGroup(QWidget* tab) {
    OrcaGroup = new QGroupBox(QStringLiteral("　Orca参照 "), tab);
    OrcaGroup->setObjectName(QStringLiteral("OrcaGroup"));
    auto* grid = new QGridLayout(OrcaGroup);

    Pbikou = textBox("Pbikou", OrcaGroup);
    Pbikou->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Ptaboo = textBox("Ptaboo", OrcaGroup);
    Parerugi = textBox("Parerugi", OrcaGroup);
    Pkansensho = textBox("Pkansensho", OrcaGroup);
    RName = lineEdit("RName", OrcaGroup);
    Raddress = lineEdit("Raddress", OrcaGroup);
    Rtel = lineEdit("Rtel", OrcaGroup);
    Kname = lineEdit("Kname", OrcaGroup);
    Kaddress = lineEdit("Kaddress", OrcaGroup);
    Ktel = lineEdit("Ktel", OrcaGroup);

    const struct {
        const char* text;
        QWidget* field;
    } rows[] = {{"備考", Pbikou},       {"禁忌", Ptaboo},  {"アレルギー", Parerugi},
                {"感染症", Pkansensho}, {"連絡先", RName}, {"住所", Raddress},
                {"電話番号", Rtel},     {"勤務先", Kname}, {"住所", Kaddress},
                {"電話番号", Ktel}};
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(caption(QString::fromUtf8(r.text), r.field, OrcaGroup), row, 0,
                        Qt::AlignTop);
        grid->addWidget(r.field, row, 1);
        ++row;
    }
    // The contact person's and the workplace's address and telephone share their captions;
    // screen readers tell them apart by the person they belong to.
    Raddress->setAccessibleName(QStringLiteral("連絡先の住所"));
    Rtel->setAccessibleName(QStringLiteral("連絡先の電話番号"));
    Kaddress->setAccessibleName(QStringLiteral("勤務先の住所"));
    Ktel->setAccessibleName(QStringLiteral("勤務先の電話番号"));
    return OrcaGroup;
}

void TPatientTab::ClearPatientFields() {
    for (QLineEdit* field : {PName, PKana, PBirth, Pubin, Padress, Ptel, Pkeitai})
        field->clear();
    setSex(None);
}

bool TPatientTab::CheckPatientFields() {
    if (!settings_.KeyWordUse)
        return true;
    status_(0, QString());
    status_(1, QString());
    QString error;
    if (PName->text().isEmpty())
        error = QStringLiteral("患者氏名エラー");
    else if (PKana->text().isEmpty())
        error = QStringLiteral("フリガナエラー");
    else if (sex() == None)
        error = QStringLiteral("性別エラー");
    if (error.isEmpty())
        return true;
    status_(0, QStringLiteral("患者基本情報"));
    status_(1, error);
    return false;
}

TPatientTab::Sex TPatientTab::sex() const {
    const int id = Psex->checkedId();
    return id == Male || id == Female ? Sex(id) : None;
}

void TPatientTab::setSex(Sex value) {
    if (value == None) {
        // An exclusive group never lets its last choice go; clearing needs it let go of.
        Psex->setExclusive(false);
        PsexMale->setChecked(false);
        PsexFemale->setChecked(false);
        Psex->setExclusive(true);
        return;
    }
    Psex->button(value)->setChecked(true);
}

IndexKeys TPatientTab::keys() const {
    const Sex chosen = sex();
    const QString sexText = chosen == Male ? male : chosen == Female ? female : QString();
    const QString texts[keyCount] = {PName->text(), PKana->text(),   sexText,      PBirth->text(),
                                     Pubin->text(), Padress->text(), Ptel->text(), Pkeitai->text()};
    IndexKeys result;
    for (int i = 0; i < keyCount; ++i)
        result[i] = cutTextToBytes(texts[i], columnByteLimit(keyColumn(i + 1)));
    return result;
}

void TPatientTab::setKeys(const IndexKeys& values) {
    PName->setText(values[0]);
    PKana->setText(values[1]);
    const QString sexText = values[2].trimmed();
    setSex(sexText == male ? Male : sexText == female ? Female : None);
    PBirth->setText(values[3]);
    Pubin->setText(values[4]);
    Padress->setText(values[5]);
    Ptel->setText(values[6]);
    Pkeitai->setText(values[7]);
}
