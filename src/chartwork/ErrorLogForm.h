#pragma once
// The error log: timestamped messages about everything that went wrong in this run, shown
// and edited in its own window and saved by the user as a text file if wanted.

#include <QDialog>

class QPlainTextEdit;

class TErrorLogForm : public QDialog {
    Q_OBJECT

public:
    explicit TErrorLogForm(QWidget* parent = nullptr);

    // Appends "<date> <time>: <message>".
    void AddError(const QString& message);
    void ClearErrors();
    // The lines of the log as the box holds them (the user may have edited them).
    QStringList Lines() const;

    QPlainTextEdit* ErrorLogMemo = nullptr;
    QAction* SaveMenu = nullptr;  // "保存"
    QAction* CloseMenu = nullptr; // "閉じる"

public slots:
    void SaveMenuClick();
};
