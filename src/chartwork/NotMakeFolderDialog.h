#pragma once
// The warning shown when a chart folder cannot be made or written: the folder on the first
// line, then what may be wrong, and one button that closes it. Fixed size, no title-bar
// buttons; run through Dialogs::instance().exec so that tests never block on it.

#include <QDialog>

class QLabel;
class QPushButton;

class TNotMakeFolder : public QDialog {
    Q_OBJECT

public:
    explicit TNotMakeFolder(QWidget* parent = nullptr);

    // Puts `folder` on the first line.
    void setFolder(const QString& folder);

    // Shows the box for `folder` and returns when "了解" was pressed.
    static void showFor(QWidget* parent, const QString& folder);

    QLabel* FolderLabel = nullptr;
    QLabel* MessageLabel = nullptr;
    QPushButton* OkButton = nullptr;
};
