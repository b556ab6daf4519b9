#include "support/ScriptedDialogs.h"

#include <QDialog>

ScriptedDialogs::ScriptedDialogs() { Dialogs::install(this); }

ScriptedDialogs::~ScriptedDialogs() { Dialogs::install(nullptr); }

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const Box& b : boxes)
        out << b.text;
    return out;
}

int ScriptedDialogs::message(QWidget*, Kind kind, const QString& text, int buttons) {
    boxes.append({kind, text, buttons});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    for (int b : {Yes, Ok, No, Cancel})
        if (buttons & b)
            return b;
    return Ok;
}

QStringList ScriptedDialogs::openFiles(QWidget*, const QString& caption, const QString&,
                                       const QStringList&) {
    fileDialogs << caption;
    if (fileAnswers.empty())
        return {};
    QStringList answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFile(QWidget* parent, const QString& caption, const QString& dir,
                                  const QStringList& filters) {
    const QStringList answer = openFiles(parent, caption, dir, filters);
    return answer.isEmpty() ? QString() : answer.constFirst();
}

QString ScriptedDialogs::saveFile(QWidget*, const QString&, const QString& fileName,
                                  const QStringList&, const QString&, int* selectedFilter) {
    fileDialogs << fileName;
    if (!saveFilterAnswers.empty()) {
        if (selectedFilter)
            *selectedFilter = saveFilterAnswers.front();
        saveFilterAnswers.pop_front();
    }
    if (fileAnswers.empty())
        return {};
    QStringList answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer.isEmpty() ? QString() : answer.constFirst();
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& caption, const QString&) {
    fileDialogs << caption;
    if (folderAnswers.empty())
        return {};
    QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::chooseColor(QWidget*, QColor& color) {
    if (colorAnswers.empty())
        return false;
    color = colorAnswers.front();
    colorAnswers.pop_front();
    return true;
}

bool ScriptedDialogs::chooseFont(QWidget*, QFont&) { return false; }

int ScriptedDialogs::exec(QDialog* dialog) {
    dialogsRun << dialog;
    if (dialogHandlers.empty())
        return QDialog::Rejected;
    auto handler = std::move(dialogHandlers.front());
    dialogHandlers.pop_front();
    return handler(dialog);
}

int ScriptedDialogs::shellOpen(const QString& path) {
    shellOpened << path;
    return shellResult;
}

void ScriptedDialogs::openUrl(const QString& url) { urlsOpened << url; }
