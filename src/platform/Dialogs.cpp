#include "platform/Dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

Dialogs* installed = nullptr;

QMessageBox::Icon iconOf(Dialogs::Kind kind) {
    switch (kind) {
    case Dialogs::Kind::Warning:
        return QMessageBox::Warning;
    case Dialogs::Kind::Error:
        return QMessageBox::Critical;
    case Dialogs::Kind::Confirmation:
        return QMessageBox::Question;
    case Dialogs::Kind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(Dialogs::Kind kind) {
    switch (kind) {
    case Dialogs::Kind::Warning:
        return QStringLiteral("警告");
    case Dialogs::Kind::Error:
        return QStringLiteral("エラー");
    case Dialogs::Kind::Confirmation:
        return QStringLiteral("確認");
    case Dialogs::Kind::Information:
        return QStringLiteral("情報");
    }
    return {};
}

} // namespace

Dialogs& Dialogs::instance() {
    static QtDialogs real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs* dialogs) {
    installed = dialogs;
}

int QtDialogs::message(QWidget* parent, Kind kind, const QString& text, int buttons) {
    QMessageBox box(iconOf(kind), titleOf(kind), text, QMessageBox::NoButton, parent);
    const struct {
        int ours;
        QMessageBox::StandardButton qt;
    } map[] = {{Yes, QMessageBox::Yes},
               {No, QMessageBox::No},
               {Ok, QMessageBox::Ok},
               {Cancel, QMessageBox::Cancel},
               {Abort, QMessageBox::Abort}};
    for (const auto& m : map)
        if (buttons & m.ours)
            box.addButton(m.qt);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& m : map)
        if (m.qt == clicked)
            return m.ours;
    return (buttons & Cancel) ? Cancel : (buttons & No) ? No : buttons;
}

QStringList QtDialogs::openFiles(QWidget* parent, const QString& caption, const QString& dir,
                                 const QStringList& filters) {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filters.join(QStringLiteral(";;")));
}

QString QtDialogs::openFile(QWidget* parent, const QString& caption, const QString& dir,
                            const QStringList& filters) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filters.join(QStringLiteral(";;")));
}

QString QtDialogs::saveFile(QWidget* parent, const QString& caption, const QString& fileName,
                            const QStringList& filters, const QString& defaultSuffix,
                            int* selectedFilter) {
    QFileDialog dialog(parent, caption, fileName, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (selectedFilter)
        *selectedFilter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

bool QtDialogs::chooseColor(QWidget* parent, QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

bool QtDialogs::chooseFont(QWidget* parent, QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

int QtDialogs::exec(QDialog* dialog) {
    return dialog->exec();
}

int QtDialogs::shellOpen(const QString& path) {
    const QFileInfo info(path);
    if (!info.dir().exists())
        return 3; // path not found
    if (!info.exists())
        return 2; // file not found
    if (!info.isReadable())
        return 5; // access denied
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return 31; // no associated program
    // xdg-open returns at once; its exit code tells whether a program was found.
    QProcess process;
    process.start(QStringLiteral("xdg-open"), {info.absoluteFilePath()});
    if (!process.waitForStarted(5000))
        return 31;
    if (process.waitForFinished(5000) && process.exitCode() != 0)
        return process.exitCode() == 3 ? 31 : process.exitCode() == 2 ? 2 : 31;
    return 42;
}

void QtDialogs::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

QString shellResultText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("The operating system is out of memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied access to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred.");
    case 27:
        return QStringLiteral("The filename association is incomplete or invalid.");
    case 28:
        return QStringLiteral(
            "The DDE transaction could not be completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not be completed because other DDE "
                              "transactions were being processed.");
    case 31:
        return QStringLiteral("There is no application associated with the given filename "
                              "extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return {};
    }
}
