#pragma once
// A Dialogs for tests: records every box and dialog, answers from queues, never blocks.
// Install it for the life of a test with `ScriptedDialogs dialogs;` (installs itself).

#include "platform/Dialogs.h"

#include <QList>
#include <deque>
#include <functional>

class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        Kind kind;
        QString text;
        int buttons;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers, used in order; when a queue is empty a box answers its first button of
    // Yes, Ok, No, Cancel, and a file or folder dialog answers "cancelled".
    std::deque<int> answers;
    std::deque<QStringList> fileAnswers;   // openFiles, openFile (first name), saveFile
    std::deque<int> saveFilterAnswers;     // the filter index a saveFile answer reports
    std::deque<QString> folderAnswers;
    std::deque<QColor> colorAnswers;
    // Called for each exec(QDialog*); returns the dialog's result. Default: Rejected.
    std::deque<std::function<int(QDialog*)>> dialogHandlers;
    int shellResult = 42;

    // What happened.
    QList<Box> boxes;
    QStringList fileDialogs; // captions (or the given file name) of the file dialogs opened
    QStringList shellOpened;
    QStringList urlsOpened;
    QList<QDialog*> dialogsRun;

    QStringList texts() const;
    const Box& last() const { return boxes.constLast(); }

    int message(QWidget* parent, Kind kind, const QString& text, int buttons) override;
    QStringList openFiles(QWidget* parent, const QString& caption, const QString& dir,
                          const QStringList& filters) override;
    QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                     const QStringList& filters) override;
    QString saveFile(QWidget* parent, const QString& caption, const QString& fileName,
                     const QStringList& filters, const QString& defaultSuffix,
                     int* selectedFilter) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& dir) override;
    bool chooseColor(QWidget* parent, QColor& color) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    int exec(QDialog* dialog) override;
    int shellOpen(const QString& path) override;
    void openUrl(const QString& url) override;
};
