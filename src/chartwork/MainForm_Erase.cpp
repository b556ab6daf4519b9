// Erasing a chart: "消去" sends the current volume's chart PDF to the desktop's trash and
// deletes its index row.

#include "chartwork/MainForm.h"

#include "core/Cp932.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>

void TMainForm::RecycleFile(const QString& path) {
    // The freedesktop trash keeps the file restorable. Its folder lives in the user's data
    // folder, which a fresh account may not have yet.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString trashed;
    if (!QFile::moveToTrash(path, &trashed))
        return; // the file stays, and the caller reports it as not deleted
    // When no trash folder can be made, Qt 6.4 moves the file into "files" below the current
    // folder instead; that is no trash, so the file goes back where it was and counts as not
    // deleted. A chart is never put where nobody would look for it.
    if (QFileInfo(trashed).absolutePath() ==
        QDir::current().absoluteFilePath(QStringLiteral("files"))) {
        QFile::rename(trashed, path);
        QFile::remove(QDir::current().absoluteFilePath(QStringLiteral("info/") +
                                                       QFileInfo(trashed).fileName() +
                                                       QStringLiteral(".trashinfo")));
    }
}

void TMainForm::EraseBtnClick() {
    SetStatus(1, QString());
    const QString question = QStringLiteral("このファイルを消去しますか?\n患者番号 ") +
                             QString::number(PatientNo) + QStringLiteral(" 連番 ") +
                             QString::number(VolumeNo);
    if (Dialogs::instance().message(this, Dialogs::Kind::Confirmation, question,
                                    Dialogs::Yes | Dialogs::No) != Dialogs::Yes)
        return;

    QString systemPath;
    try {
        const std::vector<IndexRow> rows = Index.volumeRows(PatientNo, VolumeNo);
        if (!rows.empty())
            systemPath =
                Reg.Target + rows.front().filePath + QLatin1Char('\\') + rows.front().fileName;
    } catch (const std::exception&) {
        saveFailure(QStringLiteral("DB System エラー"), Dialogs::Abort,
                    QStringLiteral("*** Database Error : 消去"));
        return;
    }
    if (cp932Length(systemPath) <= 3) {
        saveFailure(QStringLiteral("DB System (2) エラー"), Dialogs::Abort,
                    QStringLiteral("*** File Path Error : 消去"));
        return;
    }
    const QString path = toNativePath(reduceSeparators(toSystemPath(systemPath)));
    if (!QFileInfo::exists(path)) {
        saveFailure(QStringLiteral("File unmatched エラー"), Dialogs::Abort,
                    QStringLiteral("*** File is not Exist Error : 消去") + path);
        return;
    }

    if (Reg.WriteInhibit) {
        saveFailure(QStringLiteral("書込禁止設定です。\nFileの削除に失敗しました。"),
                    Dialogs::Abort, QStringLiteral("*** File Erase Error : 消去"));
    } else {
        RecycleFile(path);
        if (QFileInfo::exists(path)) {
            saveFailure(QStringLiteral("Fileの削除に失敗しました。"), Dialogs::Abort,
                        QStringLiteral("*** File Delete Error : 消去"));
        } else {
            WriteActivity(path + QStringLiteral(" : Pdf消去(Erase)"));
            try {
                Index.deleteVolume(PatientNo, VolumeNo);
                const QString erased = path + QStringLiteral("を消去しました。");
                WriteActivityUntimed(erased);
                SetStatus(1, erased);
            } catch (const std::exception&) {
                saveFailure(QStringLiteral("DataBaseの削除に失敗しました。"), Dialogs::Abort,
                            QStringLiteral("*** DB Delete Error : 消去") + path);
            }
        }
    }
    FilingState = TFilingState::Idle;
    for (QPushButton* button : {SubNoBtn, SaveButton, PrintBtn, EraseBtn})
        button->setEnabled(false);
}
