#include "core/Registory.h"
#include "core/Cp932.h"
#include "core/SettingsFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Every value of the store with its type, in the order it is read and written.
const char* const kTable[] = {
    "FileOpenDir:T",   "JpegType:N",     "TiffType:N",   "BitmapType:N", "PngType:N",
    "Sequence:N",      "ImSize:N",       "OrcaOnline:N", "Target:T",     "L1Front:T",
    "L1Back:T",        "L2Front:T",      "L2Back:T",     "L3Front:T",    "L3Back:T",
    "L4Front:T",       "L4Back:T",       "HPCode:T",     "HPName:T",     "KaCode:T",
    "WriteInhibit:N",  "WriteDate:N",    "Stretch:N",    "Quality:N",    "PdfPageWidth:N",
    "PdfPageHeight:N", "ImportFilter:N", "KeyWordUse:N", "ShowImage:N",  "DBRegist:N",
    "SendName1:T",     "SendName2:T",    "SendName3:T",  "SendName4:T",  "SendName5:T",
    "SendName6:T",     "SendName7:T",    "SendName8:T",  "PrnUse1:N",    "PrnUse2:N",
    "PrnUse3:N",       "PrnUse4:N",      "PrnUse5:N",    "PrnUse6:N",    "PrnUse7:N",
    "PrnUse8:N",       "Printer1:T",     "Printer2:T",   "Printer3:T",   "Printer4:T",
    "Printer5:T",      "Printer6:T",     "Printer7:T",   "Printer8:T",   "DirUse1:N",
    "DirUse2:N",       "DirUse3:N",      "DirUse4:N",    "DirUse5:N",    "DirUse6:N",
    "DirUse7:N",       "DirUse8:N",      "Folder1:T",    "Folder2:T",    "Folder3:T",
    "Folder4:T",       "Folder5:T",      "Folder6:T",    "Folder7:T",    "Folder8:T",
};

class RegistoryTest : public ::testing::Test {
protected:
    QString storePath() const {
        return dir.file(QStringLiteral("config/Nadrel/TovaneFileLite20.reg"));
    }
    TRegistory fresh() const {
        TRegistory reg;
        reg.setStorePath(storePath());
        return reg;
    }
    // A store whose every value differs from its default.
    void storeChangedValues() {
        TRegistory reg = fresh();
        reg.FileOpenDir = QStringLiteral("/scans/");
        reg.JpegType = false;
        reg.Sequence = 1;
        reg.ImSize = 4;
        reg.OrcaOnline = true;
        reg.Target = QStringLiteral("/charts/");
        reg.L1Front = QStringLiteral("A");
        reg.L4Back = QStringLiteral("z");
        reg.HPCode = QStringLiteral("1312345678");
        reg.HPName = QStringLiteral("テスト医院");
        reg.KaCode = QStringLiteral("01");
        reg.WriteInhibit = false;
        reg.Quality = 95;
        reg.PdfPageWidth = 595;
        reg.ImportFilter = 2;
        reg.KeyWordUse = true;
        reg.ShowImage = 3;
        reg.DBRegist = false;
        reg.SendName[7] = QStringLiteral("受付");
        reg.PrnUse[0] = true;
        reg.Printer[0] = QStringLiteral("Office \"A\"");
        reg.DirUse[7] = true;
        reg.Folder[7] = QStringLiteral("\\\\nas\\inbox\\");
        reg.Save();
    }
    SettingsFile storedFile() const {
        SettingsFile file;
        EXPECT_TRUE(file.load(storePath()));
        return file;
    }
    void expectDefaults(const TRegistory& reg) const {
        const QString home = QDir::homePath() + QLatin1Char('/');
        EXPECT_EQ(reg.FileOpenDir, home);
        EXPECT_EQ(reg.Target, home);
        EXPECT_TRUE(reg.JpegType && reg.TiffType && reg.BitmapType && reg.PngType);
        EXPECT_EQ(reg.Sequence, 0);
        EXPECT_EQ(reg.ImSize, 0);
        EXPECT_FALSE(reg.OrcaOnline);
        EXPECT_EQ(reg.L1Front, QString());
        EXPECT_EQ(reg.L4Back, QString());
        EXPECT_EQ(reg.HPCode, QString());
        EXPECT_EQ(reg.HPName, QString());
        EXPECT_EQ(reg.KaCode, QStringLiteral("0"));
        EXPECT_TRUE(reg.WriteInhibit && reg.WriteDate && reg.Stretch && reg.DBRegist);
        EXPECT_EQ(reg.Quality, 80);
        EXPECT_EQ(reg.PdfPageWidth, 700);
        EXPECT_EQ(reg.PdfPageHeight, 1000);
        EXPECT_EQ(reg.ImportFilter, 0);
        EXPECT_FALSE(reg.KeyWordUse);
        EXPECT_EQ(reg.ShowImage, 5);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(reg.SendName[i], QString());
            EXPECT_FALSE(reg.PrnUse[i] || reg.DirUse[i]);
            EXPECT_EQ(reg.Printer[i], QString());
            EXPECT_EQ(reg.Folder[i], QString());
        }
    }

    TempDir dir;
};

TEST_F(RegistoryTest, NoStoreGivesDefaultsAndSaveWritesEveryValueInTableOrder) {
    TRegistory reg = fresh();
    reg.Quality = 60;
    reg.Load();
    expectDefaults(reg);
    reg.Save();

    const SettingsFile file = storedFile();
    ASSERT_EQ(file.values().size(), qsizetype(std::size(kTable)));
    for (qsizetype i = 0; i < file.values().size(); ++i) {
        const QStringList nameType = QString::fromLatin1(kTable[i]).split(QLatin1Char(':'));
        const SettingsFile::Value& v = file.values().at(i);
        EXPECT_EQ(v.name, nameType[0]);
        EXPECT_EQ(v.type, nameType[1] == QStringLiteral("T") ? SettingsFile::Type::Text
                                                             : SettingsFile::Type::Number)
            << v.name.toStdString();
    }
    EXPECT_EQ(file.number(QStringLiteral("WriteInhibit")), 1);
    EXPECT_EQ(file.number(QStringLiteral("OrcaOnline")), 0);
    EXPECT_EQ(file.text(QStringLiteral("KaCode")), QStringLiteral("0"));
    EXPECT_TRUE(readFile(storePath()).startsWith("REGEDIT4\r\n"));
}

TEST_F(RegistoryTest, SavedValuesLoadBackExactly) {
    storeChangedValues();
    const QByteArray first = readFile(storePath());
    EXPECT_TRUE(first.contains(toCp932(QStringLiteral("\"HPName\"=\"テスト医院\"\r\n"))));
    EXPECT_TRUE(first.contains("\"Printer1\"=\"Office \\\"A\\\"\"\r\n"));

    TRegistory reg = fresh();
    reg.Load();
    EXPECT_EQ(reg.HPName, QStringLiteral("テスト医院"));
    EXPECT_EQ(reg.Folder[7], QStringLiteral("\\\\nas\\inbox\\"));
    EXPECT_FALSE(reg.DBRegist);
    EXPECT_TRUE(reg.PrnUse[0]);
    reg.Save();
    EXPECT_EQ(readFile(storePath()), first);
}

TEST_F(RegistoryTest, AMissingOrMistypedNumberOrFlagMeansAllDefaults) {
    const char* const damaged[] = {"DBRegist", "Quality", "JpegType", "Folder8"};
    for (const char* name : damaged) {
        storeChangedValues();
        SettingsFile file = storedFile();
        const QString n = QString::fromLatin1(name);
        if (file.text(n))
            file.setNumber(n, 1); // a text stored as a number
        else if (n == QStringLiteral("Quality"))
            file.setText(n, QStringLiteral("95")); // a number stored as text
        else
            file.remove(n);
        ASSERT_TRUE(file.save(storePath()));

        TRegistory reg = fresh();
        reg.Load();
        SCOPED_TRACE(name);
        expectDefaults(reg);
    }
}

TEST_F(RegistoryTest, AMissingTextIsEmptyAndTheOthersAreKept) {
    storeChangedValues();
    SettingsFile file = storedFile();
    file.remove(QStringLiteral("HPName"));
    file.setNumber(QStringLiteral("ImSize"), 7);     // out of the dialog's range, still a number
    file.setNumber(QStringLiteral("KeyWordUse"), 2); // any value but 0 is on
    ASSERT_TRUE(file.save(storePath()));

    TRegistory reg = fresh();
    reg.Load();
    EXPECT_EQ(reg.HPName, QString());
    EXPECT_EQ(reg.HPCode, QStringLiteral("1312345678"));
    EXPECT_EQ(reg.Target, QStringLiteral("/charts/"));
    EXPECT_EQ(reg.ImSize, 7);
    EXPECT_TRUE(reg.KeyWordUse);
}

TEST_F(RegistoryTest, UnreadableOrKeylessStoresGiveDefaults) {
    const QByteArray stores[] = {
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFile]\r\n\"Quality\"=dword:"
        "00000001\r\n",
        "garbage",
    };
    for (const QByteArray& bytes : stores) {
        writeFile(storePath(), bytes);
        TRegistory reg = fresh();
        reg.Quality = 1;
        reg.Load();
        expectDefaults(reg);
    }
}

TEST_F(RegistoryTest, SaveKeepsTheValuesItDoesNotOwn) {
    storeChangedValues();
    TRegistory reg = fresh();
    reg.Load();
    // The ORCA login writes its two values while the program runs; the close comes after.
    ASSERT_TRUE(reg.writeStoredText(QStringLiteral("OrcaDbName"), QStringLiteral("orca")));
    ASSERT_TRUE(reg.writeStoredText(QStringLiteral("OrcaHost"), QStringLiteral("192.168.0.10")));
    reg.Quality = 70;
    reg.Save();

    const SettingsFile file = storedFile();
    const qsizetype n = file.values().size();
    ASSERT_EQ(n, qsizetype(std::size(kTable)) + 2);
    EXPECT_EQ(file.values().at(n - 2).name, QStringLiteral("OrcaDbName"));
    EXPECT_EQ(reg.readStoredText(QStringLiteral("OrcaDbName")), QStringLiteral("orca"));
    EXPECT_EQ(reg.readStoredText(QStringLiteral("OrcaHost")), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(file.number(QStringLiteral("Quality")), 70);
}

TEST_F(RegistoryTest, ASaveNeverDestroysAFileItCannotRead) {
    writeFile(storePath(), "hand edited, no header\r\n\"OrcaHost\"=\"db\"\r\n");
    TRegistory reg = fresh();
    reg.Load();
    expectDefaults(reg);
    EXPECT_FALSE(reg.writeStoredText(QStringLiteral("OrcaHost"), QStringLiteral("x")));
    reg.Save();
    EXPECT_EQ(readFile(storePath() + QStringLiteral(".bak")),
              QByteArray("hand edited, no header\r\n\"OrcaHost\"=\"db\"\r\n"));
    EXPECT_EQ(storedFile().values().size(), qsizetype(std::size(kTable)));
}

TEST_F(RegistoryTest, CodesAreCutToTheirByteLimits) {
    struct Row {
        bool hp;
        QString input;
        QString kept;
    };
    const Row rows[] = {
        {false, QStringLiteral("12345"), QStringLiteral("1234")},
        {false, QStringLiteral("0"), QStringLiteral("0")},
        {false, QStringLiteral("aあい"), QStringLiteral("aあ")},
        {true, QStringLiteral("12345678901234567890"), QStringLiteral("1234567890123456")},
        {true, QStringLiteral("ああああああああああ"), QStringLiteral("ああああああああ")},
        {true, QStringLiteral("aああああああああ"), QStringLiteral("aあああああああ")},
    };
    for (const Row& row : rows) {
        TRegistory reg;
        if (row.hp)
            reg.SetHPCode(row.input);
        else
            reg.SetKaCode(row.input);
        EXPECT_EQ(row.hp ? reg.HPCode : reg.KaCode, row.kept) << row.input.toStdString();
    }
}

TEST(RegistoryStore, DefaultPathFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    const QString withXdg = TRegistory::defaultStorePath();
    qunsetenv("XDG_CONFIG_HOME");
    const QString withoutXdg = TRegistory::defaultStorePath();
    if (!saved.isNull())
        qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(withXdg, QStringLiteral("/tmp/cfg/Nadrel/TovaneFileLite20.reg"));
    EXPECT_EQ(withoutXdg,
              QDir::homePath() + QStringLiteral("/.config/Nadrel/TovaneFileLite20.reg"));
}

} // namespace
