#include "core/PathString.h"
#include "core/Registory.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct FolderCase {
    const char* base;
    int patientNo;
    const char* front1; // level-1 prefix; the others stay empty
    const char* relative;
    const char* full;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << "base " << c.base << ", patient " << c.patientNo << ", prefix \"" << c.front1 << '"';
}

class PatientFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PatientFolder, FollowsTheFolderRule) {
    const FolderCase& c = GetParam();
    TPathString path;
    path.Base = QString::fromUtf8(c.base);
    for (int i = 0; i < 4; ++i)
        path.Front[i].clear();
    path.Front[0] = QString::fromUtf8(c.front1);
    path.SetNumber(c.patientNo);
    EXPECT_EQ(path.RelativeFolder(), QString::fromUtf8(c.relative));
    EXPECT_EQ(path.FullFolder(), QString::fromUtf8(c.full));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PatientFolder,
    ::testing::Values(
        FolderCase{"C:\\", 1234, "", "\\00\\00\\12\\34", "C:\\00\\00\\12\\34"},
        FolderCase{"C:\\", 1234, "A", "\\A00\\00\\12\\34", "C:\\A00\\00\\12\\34"},
        FolderCase{"C:\\", 0, "", "\\00\\00\\00\\00", "C:\\00\\00\\00\\00"},
        FolderCase{"C:\\", 99999999, "", "\\99\\99\\99\\99", "C:\\99\\99\\99\\99"},
        FolderCase{"C:\\", 100001234, "", "\\00\\00\\12\\34", "C:\\00\\00\\12\\34"},
        // A trailing separator of the base in either form is reduced; none is added.
        FolderCase{"D:\\Charts\\", 5, "", "\\00\\00\\00\\05", "D:\\Charts\\00\\00\\00\\05"},
        FolderCase{"D:\\Charts", 5, "", "\\00\\00\\00\\05", "D:\\Charts\\00\\00\\00\\05"},
        FolderCase{"/srv/charts/", 5, "", "\\00\\00\\00\\05", "\\srv\\charts\\00\\00\\00\\05"},
        FolderCase{"/srv//charts", 5, "", "\\00\\00\\00\\05", "\\srv\\charts\\00\\00\\00\\05"},
        // A network share keeps its leading pair.
        FolderCase{"\\\\nas\\charts\\", 5, "", "\\00\\00\\00\\05",
                   "\\\\nas\\charts\\00\\00\\00\\05"},
        // Never a folder named after a minus sign.
        FolderCase{"C:\\", -1, "", "\\99\\99\\99\\99", "C:\\99\\99\\99\\99"}));

TEST(PathString, FramesEveryLevelWithItsPrefixAndSuffix) {
    TPathString fresh; // the constructor's prefixes A to D below the home folder
    fresh.SetNumber(1234);
    EXPECT_EQ(toNativePath(fresh.FullFolder()),
              QDir::homePath() + QStringLiteral("/A00/B00/C12/D34"));

    TRegistory settings;
    settings.Target = QStringLiteral("/data/");
    settings.L1Front = QStringLiteral("p");
    settings.L1Back = QStringLiteral("q");
    settings.L2Back = QStringLiteral("番");
    settings.L3Front = QStringLiteral("x");
    settings.L4Back = QStringLiteral("\\"); // a suffix "\" doubles the separator that follows
    TPathString path;
    setFolderRule(path, settings);
    path.SetNumber(12345678);
    EXPECT_EQ(path.RelativeFolder(), QStringLiteral("\\p12q\\34番\\x56\\78\\"));
    EXPECT_EQ(path.FullFolder(), QStringLiteral("\\data\\p12q\\34番\\x56\\78\\"));
}

TEST(PathString, ConvertsBetweenSystemAndNativeForms) {
    EXPECT_EQ(toNativePath(QStringLiteral("\\srv\\charts\\00\\a.pdf")),
              QStringLiteral("/srv/charts/00/a.pdf"));
    EXPECT_EQ(toSystemPath(QStringLiteral("/srv/charts/")), QStringLiteral("\\srv\\charts\\"));
    EXPECT_EQ(reduceSeparators(QStringLiteral("a\\\\\\b\\\\")), QStringLiteral("a\\b\\"));
}

TEST(DirFile, EnsureFolderMakesTheWholeTreeOrSaysItCannot) {
    TempDir dir;
    TDirFile folder;
    for (int i = 0; i < 4; ++i)
        folder.Front[i].clear();
    folder.Base = dir.path() + QStringLiteral("/charts/");
    folder.SetNumber(1234);
    const QString made = dir.path() + QStringLiteral("/charts/00/00/12/34");
    EXPECT_TRUE(folder.EnsureFolder());
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_TRUE(folder.EnsureFolder()); // already there

    writeFile(dir.file(QStringLiteral("blocked")), "a file, not a folder");
    folder.Base = dir.file(QStringLiteral("blocked"));
    EXPECT_FALSE(folder.EnsureFolder());
}

} // namespace
