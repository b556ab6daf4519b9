// The patient tab on its own: its fields and captions, the required-field check and the
// mapping of the fields to and from the index keywords.

#include "chartwork/PatientTab.h"
#include "core/Cp932.h"
#include "core/Registory.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

class PatientTabTest : public ::testing::Test {
protected:
    PatientTabTest()
        : tab(&page, settings, [this](int panel, const QString& text) { panels[panel] = text; }) {
        settings.KeyWordUse = true;
    }

    void fill(const QString& name, const QString& kana, TPatientTab::Sex sex) {
        tab.PName->setText(name);
        tab.PKana->setText(kana);
        tab.setSex(sex);
    }

    QWidget page;
    TRegistory settings;
    QString panels[2] = {QStringLiteral("before 0"), QStringLiteral("before 1")};
    TPatientTab tab;
};

bool isRedAndBold(const QLabel* label) {
    return label->palette().color(QPalette::WindowText) == QColor(255, 0, 0) &&
           label->font().bold();
}

QStringList labelTexts(const QWidget* group) {
    QStringList texts;
    for (const QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        texts << label->text();
    return texts;
}

} // namespace

TEST_F(PatientTabTest, GroupsCarryEveryFieldWithItsCaption) {
    EXPECT_EQ(tab.PatientGroup->title(), QStringLiteral(" 患者 "));
    EXPECT_EQ(tab.OrcaGroup->title(), QStringLiteral("　Orca参照 "));

    const struct {
        const char* caption;
        QWidget* field;
        bool required;
    } rows[] = {{"患者氏名", tab.PName, true},  {"フリガナ", tab.PKana, true},
                {"性別", tab.PsexMale, true},   {"生年月日", tab.PBirth, false},
                {"郵便番号", tab.Pubin, false}, {"現住所", tab.Padress, false},
                {"電話番号", tab.Ptel, false},  {"携帯電話", tab.Pkeitai, false}};
    for (int i = 0; i < keyCount; ++i) {
        SCOPED_TRACE(rows[i].caption);
        EXPECT_EQ(tab.PatientLabels[i]->text(), QString::fromUtf8(rows[i].caption));
        EXPECT_EQ(tab.PatientLabels[i]->buddy(), rows[i].field);
        EXPECT_EQ(isRedAndBold(tab.PatientLabels[i]), rows[i].required);
    }
    EXPECT_EQ(tab.PsexMale->text(), QStringLiteral("男"));
    EXPECT_EQ(tab.PsexFemale->text(), QStringLiteral("女"));
    EXPECT_TRUE(tab.Psex->exclusive());

    EXPECT_EQ(tab.RequiredNote->text(), QStringLiteral("■色の項目は、必ず記入してください。"));
    EXPECT_EQ(tab.RequiredNote->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(tab.GetOrcaBtn->text(), QStringLiteral("ＯＲＣＡ情報の取込み"));

    // Telephone numbers are typed without the input method; the names with it.
    EXPECT_FALSE(tab.Ptel->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(tab.Pkeitai->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(tab.PName->testAttribute(Qt::WA_InputMethodEnabled));

    EXPECT_EQ(labelTexts(tab.OrcaGroup),
              (QStringList{"備考", "禁忌", "アレルギー", "感染症", "連絡先", "住所", "電話番号",
                           "勤務先", "住所", "電話番号"}));
    EXPECT_EQ(tab.Pbikou->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    for (QPlainTextEdit* box : {tab.Pbikou, tab.Ptaboo, tab.Parerugi, tab.Pkansensho})
        EXPECT_FALSE(box->isReadOnly());
}

TEST_F(PatientTabTest, CheckStopsAtTheFirstMissingRequiredField) {
    const struct {
        bool keyWordUse;
        const char* name;
        const char* kana;
        TPatientTab::Sex sex;
        bool passes;
        const char* panel0;
        const char* panel1;
    } cases[] = {
        // Nothing is checked and the status bar is left alone when keywords are not used.
        {false, "", "", TPatientTab::None, true, "before 0", "before 1"},
        {true, "", "", TPatientTab::None, false, "患者基本情報", "患者氏名エラー"},
        {true, "山田", "", TPatientTab::None, false, "患者基本情報", "フリガナエラー"},
        {true, "山田", "ヤマダ", TPatientTab::None, false, "患者基本情報", "性別エラー"},
        // Blanks count as filled.
        {true, " ", "　", TPatientTab::Female, true, "", ""},
        {true, "山田", "ヤマダ", TPatientTab::Male, true, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel1);
        settings.KeyWordUse = c.keyWordUse;
        panels[0] = QStringLiteral("before 0");
        panels[1] = QStringLiteral("before 1");
        fill(QString::fromUtf8(c.name), QString::fromUtf8(c.kana), c.sex);
        EXPECT_EQ(tab.CheckPatientFields(), c.passes);
        EXPECT_EQ(panels[0], QString::fromUtf8(c.panel0));
        EXPECT_EQ(panels[1], QString::fromUtf8(c.panel1));
    }
}

TEST_F(PatientTabTest, FieldsBecomeTheEightKeywordsCutTo48Bytes) {
    const QString longName = QString(30, QChar(0x5C71)); // 30 full-width characters, 60 bytes
    const QString oddName = QStringLiteral("a") + QString(30, QChar(0x5C71)); // 61 bytes
    tab.PName->setText(longName);
    tab.PKana->setText(oddName);
    tab.PBirth->setText(QStringLiteral("S45.1.2"));
    tab.Pubin->setText(QStringLiteral("123-4567"));
    tab.Padress->setText(QStringLiteral("東京都千代田区"));
    tab.Ptel->setText(QStringLiteral("03-1234-5678"));
    tab.Pkeitai->setText(QStringLiteral("090-1111-2222"));

    const struct {
        TPatientTab::Sex sex;
        const char* key3;
    } sexes[] = {
        {TPatientTab::Male, "男性"}, {TPatientTab::Female, "女性"}, {TPatientTab::None, ""}};
    for (const auto& s : sexes) {
        tab.setSex(s.sex);
        const IndexKeys keys = tab.keys();
        EXPECT_EQ(keys[0], QString(24, QChar(0x5C71)));
        // A double-byte character that would straddle the 48th byte is dropped whole.
        EXPECT_EQ(keys[1], QStringLiteral("a") + QString(23, QChar(0x5C71)));
        EXPECT_EQ(cp932Length(keys[1]), 47);
        EXPECT_EQ(keys[2], QString::fromUtf8(s.key3));
        EXPECT_EQ((QStringList{keys[3], keys[4], keys[5], keys[6], keys[7]}),
                  (QStringList{"S45.1.2", "123-4567", "東京都千代田区", "03-1234-5678",
                               "090-1111-2222"}));
    }
}

TEST_F(PatientTabTest, LoadingKeywordsChoosesTheSexOnlyFromTheFullWord) {
    const struct {
        const char* key3;
        TPatientTab::Sex sex;
    } cases[] = {{"男性", TPatientTab::Male},     {" 女性 ", TPatientTab::Female},
                 {"\t男性  ", TPatientTab::Male}, {"女", TPatientTab::None},
                 {"", TPatientTab::None},         {"女性x", TPatientTab::None}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key3);
        tab.setSex(c.sex == TPatientTab::Male ? TPatientTab::Female : TPatientTab::Male);
        IndexKeys keys = {" 山田 ",       "ヤマダ",       QString::fromUtf8(c.key3),
                          "1970/01/02",   "123-4567",     "東京都",
                          "03-1234-5678", "090-1111-2222"};
        tab.setKeys(keys);
        EXPECT_EQ(tab.sex(), c.sex);
        EXPECT_EQ(tab.PsexMale->isChecked(), c.sex == TPatientTab::Male);
        EXPECT_EQ(tab.PsexFemale->isChecked(), c.sex == TPatientTab::Female);
        // The other columns go into their fields unchanged, blanks included.
        EXPECT_EQ(tab.PName->text(), QStringLiteral(" 山田 "));
        EXPECT_EQ(tab.Pkeitai->text(), QStringLiteral("090-1111-2222"));
        keys[2] = tab.keys()[2];
        EXPECT_EQ(tab.keys(), keys);
    }
}

TEST_F(PatientTabTest, ClearingEmptiesThePatientButKeepsTheOrcaReference) {
    fill(QStringLiteral("山田"), QStringLiteral("ヤマダ"), TPatientTab::Female);
    for (QLineEdit* field : {tab.PBirth, tab.Pubin, tab.Padress, tab.Ptel, tab.Pkeitai})
        field->setText(QStringLiteral("x"));
    tab.Pbikou->setPlainText(QStringLiteral("備考の内容"));
    tab.RName->setText(QStringLiteral("山田 太郎"));

    tab.ClearPatientFields();
    EXPECT_EQ(tab.keys(), IndexKeys());
    EXPECT_EQ(tab.sex(), TPatientTab::None);
    EXPECT_FALSE(tab.PsexMale->isChecked() || tab.PsexFemale->isChecked());
    EXPECT_EQ(tab.Pbikou->toPlainText(), QStringLiteral("備考の内容"));
    EXPECT_EQ(tab.RName->text(), QStringLiteral("山田 太郎"));

    // After a clear a choice can be made again.
    tab.PsexMale->click();
    EXPECT_EQ(tab.sex(), TPatientTab::Male);
}
