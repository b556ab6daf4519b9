#pragma once
// Every message box, file, folder, colour and font dialog, custom modal dialog and shell
// call of the program goes through this interface. The default opens the real Qt dialogs;
// tests install a scripted one that records each box and answers from a queue.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

class Dialogs {
public:
    enum class Kind { Warning, Error, Confirmation, Information };
    enum Button { Yes = 0x1, No = 0x2, Ok = 0x4, Cancel = 0x8, Abort = 0x10 };

    virtual ~Dialogs() = default;

    // A modal message box with the given buttons (a combination of Button); returns the
    // button pressed.
    virtual int message(QWidget* parent, Kind kind, const QString& text, int buttons) = 0;

    // File dialogs; an empty result (or list) means the user cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& caption, const QString& dir,
                                  const QStringList& filters) = 0;
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QStringList& filters) = 0;
    // `selectedFilter` receives the index of the filter the user chose.
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& fileName,
                             const QStringList& filters, const QString& defaultSuffix,
                             int* selectedFilter = nullptr) = 0;
    virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& dir) = 0;
    virtual bool chooseColor(QWidget* parent, QColor& color) = 0;
    virtual bool chooseFont(QWidget* parent, QFont& font) = 0;

    // Runs one of the program's own modal dialogs; returns QDialog::exec()'s result.
    virtual int exec(QDialog* dialog) = 0;

    // Asks the desktop to open a file with its associated program. Returns a result code
    // of the shell table: above 32 on success, else the nearest failure code.
    virtual int shellOpen(const QString& path) = 0;
    // Opens a web address in the default browser.
    virtual void openUrl(const QString& url) = 0;

    // The instance in use; the real dialogs unless a test installed another.
    static Dialogs& instance();
    // Installs `dialogs` (not owned) as the instance; nullptr restores the real dialogs.
    static void install(Dialogs* dialogs);
};

// The real dialogs of the desktop.
class QtDialogs : public Dialogs {
public:
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

// The status text for a shell result code; empty for a code not in the table (every
// success code among them).
QString shellResultText(int code);
