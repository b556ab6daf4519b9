// The frame of the main window: creation, first showing, close request, closing and
// release, the main menu, the F1/F2 keys and the help entries.

#include "chartwork/MainForm.h"

#include "chartwork/ErrorLogForm.h"
#include "chartwork/ToolCursors.h"
#include "core/TextLines.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

const char* const TMainForm::SupportUrl = "https://tovane.example.jp/support/";
const char* const TMainForm::LatestUrl = "https://tovane.example.jp/news/";

TMainForm::TMainForm(const Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), Ws(workspace) {
    setObjectName(QStringLiteral("MainForm"));
    buildLayout();
    ErrorLogForm = new TErrorLogForm(this);
    ErrorLogForm->ClearErrors();

    connect(CloseButton, &QPushButton::clicked, this, &TMainForm::CloseButtonClick);
    connect(ExitMenu, &QAction::triggered, this, &TMainForm::CloseButtonClick);
    connect(TopicsMenu, &QAction::triggered, this, &TMainForm::HelpMenuClick);
    connect(LatestMenu, &QAction::triggered, this, &TMainForm::latestMenuClick);
    connect(UtilMenu, &QMenu::aboutToShow, this, &TMainForm::UtilNemuClick);
    connect(ErrorClearMenu, &QAction::triggered, this, &TMainForm::ErrorClearMenuClick);
    connect(ErrorShowMenu, &QAction::triggered, this, &TMainForm::ErrorShowMenuClick);
    connectSelection();
    connectPageList();
    connectAcquisition();
    connectSaving();
}

TMainForm::~TMainForm() {
    if (qApp)
        qApp->removeEventFilter(this);
    Activity.close();
}

bool TMainForm::FormCreate() {
    auto stop = [this](const QString& message) {
        Dialogs::instance().message(this, Dialogs::Kind::Error, message, Dialogs::Yes);
        return false;
    };

    RegisterToolCursors();
    setCursor(Qt::ArrowCursor);

    if (!QFile::exists(Ws.indexFile()))
        return stop(QStringLiteral("Database を準備できませんでした。\nシステムを終了します。"));

    const struct {
        QString path;
        const char* name;
    } folders[] = {{Ws.importDir(), "Import"},
                   {Ws.logDir(), "Log"},
                   {Ws.exportDir(), "Export"},
                   {Ws.paperDir(), "Paper"}};
    for (const auto& folder : folders) {
        if (!QDir().mkpath(folder.path))
            return stop(
                QString::fromLatin1(folder.name) +
                QStringLiteral(" フォルダーを準備できませんでした。\nシステムを終了します。"));
    }

    PageControl->setCurrentWidget(Pagekakunin);

    DotSizeBox->addItems({QStringLiteral("極細"), QStringLiteral("細い"), QStringLiteral("標準"),
                          QStringLiteral("太い"), QStringLiteral("極太")});
    DotSizeBox->setCurrentIndex(2);

    StrBox->addItems(readCp932Lines(Ws.commentFile()));
    ShioriBox->addItems(readCp932Lines(Ws.shioriFile()));
    StrBox->setCurrentIndex(-1);
    ShioriBox->setCurrentIndex(-1);

    if (!Activity.open(Ws.activityLogFile(QDateTime::currentDateTime())))
        return stop(QStringLiteral("Log ファイルを準備できませんでした。\nシステムを終了します。"));

    for (int i = 0; i < 70; ++i) {
        Sample[i]->hide();
        Midashi[i]->hide();
        Kinyuran[i]->hide();
    }

    qApp->installEventFilter(this);
    return true;
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TMainForm::FormShow() {
    Reg.Load();
    for (int i = 0; i < 8; ++i)
        PrintButtons[i]->setToolTip(Reg.SendName[i]);
    ErrorLogForm->ClearErrors();
    TwainReadMenu->setEnabled(false);
    IdEdit->setFixedHeight(25);

    if (!ConnectIndex()) {
        // The window closes by the normal path once the show has finished.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }

    ResetChart();
    IdEdit->clear();
    IdEdit->setFocus();
    SetStatus(1, QStringLiteral("スキャナーから読み込みしてください。"));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!closing_ && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    event->accept();
}

bool TMainForm::FormCloseQuery() {
    if (!SaveButton->isEnabled())
        return true;
    return Dialogs::instance().message(
               this, Dialogs::Kind::Confirmation,
               QStringLiteral("カルテが保存されていません。\n終了しますか？"),
               Dialogs::Yes | Dialogs::No) == Dialogs::Yes;
}

void TMainForm::FormClose() {
    if (!shown_)
        return;
    Reg.Save();
    QStringList phrases, bookmarks;
    for (int i = 0; i < StrBox->count(); ++i)
        phrases << StrBox->itemText(i);
    for (int i = 0; i < ShioriBox->count(); ++i)
        bookmarks << ShioriBox->itemText(i);
    writeCp932Lines(Ws.commentFile(), phrases);
    writeCp932Lines(Ws.shioriFile(), bookmarks);
    DisconnectIndex();
}

void TMainForm::CloseButtonClick() {
    close();
}

void TMainForm::SetStatus(int panel, const QString& text) {
    statusPanels_[panel]->setText(text);
}

QString TMainForm::StatusText(int panel) const {
    return statusPanels_[panel]->text();
}

void TMainForm::AddError(const QString& message) {
    ErrorLogForm->AddError(message);
}

void TMainForm::WriteActivity(const QString& text) {
    Activity.writeTimed(text);
}

void TMainForm::WriteActivityUntimed(const QString& text) {
    Activity.writeUntimed(text);
}

void TMainForm::ErrorClearMenuClick() {
    ErrorLogForm->ClearErrors();
}

void TMainForm::ErrorShowMenuClick() {
    Dialogs::instance().exec(ErrorLogForm);
}

void TMainForm::HelpMenuClick() {
    const QString helpFile = Ws.helpFile();
    if (!QFile::exists(helpFile)) {
        Dialogs::instance().openUrl(QString::fromLatin1(SupportUrl));
        return;
    }
    SetStatus(1, QStringLiteral("Readerを起動中です。"));
    SetStatus(1, shellResultText(Dialogs::instance().shellOpen(helpFile)));
}

void TMainForm::latestMenuClick() {
    Dialogs::instance().openUrl(QString::fromLatin1(LatestUrl));
}

void TMainForm::UtilNemuClick() {
    for (QAction* item : {VacuumMenu, MenteMenu, DBRegChkMenu, ExistMenu})
        item->setEnabled(Index.isOpen());
}

void TMainForm::PopupMainMenu(const QPoint& screenPoint) {
    PopMainMenu->popup(screenPoint);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && key->key() == Qt::Key_F1) {
            HelpMenuClick();
            return true;
        }
        if (!key->isAutoRepeat() && key->key() == Qt::Key_F2) {
            PopupMainMenu(frameGeometry().topLeft() + QPoint(8, 31));
            return true;
        }
    }
    if (watched == MenuPanel && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint corner = frameGeometry().topLeft();
            PopupMainMenu(
                QPoint(mouse->position().toPoint().x() + corner.x() + 9, corner.y() + 32));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
