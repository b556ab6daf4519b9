#include "MainFormFixture.h"

#include "chartwork/MainForm.h"
#include "core/Cp932.h"
#include "index/IndexFile.h"

#include <QDir>

MainFormFixture::MainFormFixture() : workspace{temp.file(QStringLiteral("program"))} {
    oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", temp.file(QStringLiteral("config")).toLocal8Bit());
    QDir().mkpath(workspace.scannerDir());
    QDir().mkpath(workspace.databaseDir());
    createIndexFile(workspace.indexFile());
}

MainFormFixture::~MainFormFixture() {
    if (oldConfigHome_.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfigHome_);
}

std::unique_ptr<TMainForm> MainFormFixture::startForm() {
    auto form = std::make_unique<TMainForm>(workspace);
    EXPECT_TRUE(form->FormCreate()) << dialogs.texts().join(" | ").toStdString();
    form->show();
    return form;
}

QString MainFormFixture::settingsFile() const {
    return temp.file(QStringLiteral("config/Nadrel/TovaneFileLite20.reg"));
}

void MainFormFixture::writeSettings(const QByteArray& valueLines) {
    writeFile(settingsFile(),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nadrel\\TovaneFileLite20]\r\n" +
                  valueLines + "\r\n");
}
