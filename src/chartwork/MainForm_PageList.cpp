// The page list of the main window: the working pages shown as thumbnails on the tab "一覧",
// picking, deleting, moving by drag and drop, captions as bookmarks, rebuilding.

#include "chartwork/MainForm.h"

#include "chartwork/Thumbnail.h"
#include "chartwork/WorkingPagesFiles.h"
#include "core/Cp932.h"
#include "core/WholeFile.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace {

const int captionBytes = 18;

QString formatError() {
    return QStringLiteral("ファイル形式エラー");
}

// Hands the list view's mouse and drag events to the window's handlers. The list view's own
// drop handling is kept out: a drop moves a page as the handler says, nothing else.
class PageListEvents : public QObject {
public:
    PageListEvents(TMainForm* form, QListWidget* list) : QObject(list), form_(form), list_(list) {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            form_->ListView1MouseUp(mouse->button(), mouse->modifiers(),
                                    mouse->position().toPoint());
            return false;
        }
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            form_->ListView1StartDrag();
            form_->ListView1DragOver(drag->source(), drag->position().toPoint());
            if (qobject_cast<QListWidget*>(drag->source()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (form_->ListView1DragOver(drag->source(), drag->position().toPoint()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            form_->ListView1DragDrop(drop->position().toPoint());
            // Copy, not move: the list view must not remove the dragged item itself.
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            return true;
        }
        default:
            return false;
        }
    }

private:
    TMainForm* form_;
    QListWidget* list_;
};

QMenu* menuOf(QAction* item) {
    return qobject_cast<QMenu*>(item->parent());
}

} // namespace

void TMainForm::connectPageList() {
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::SelectedClicked |
                               QAbstractItemView::EditKeyPressed);
    // Items keep their places in the grid (the view does not move them itself); a static
    // movement turns dragging off, so it is set first and dragging turned on after it.
    ListView1->setMovement(QListView::Static);
    ListView1->setDragEnabled(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->setDragDropMode(QAbstractItemView::DragDrop);
    ListView1->setDefaultDropAction(Qt::CopyAction);
    ThumbNailList.reset(TThumbNailList::sideFor(Reg.ImSize));
    ListView1->setIconSize(QSize(ThumbNailList.side(), ThumbNailList.side()));
    new PageListEvents(this, ListView1);

    connect(ListView1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!fillingList_)
            ListView1Edited(ListView1->row(item), item->text());
    });
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int) {
        PageControlChange();
        if (PageControl->currentWidget() == Pagekakunin)
            PagekakuninShow();
    });
    connect(menuOf(PageDeleteMenu), &QMenu::aboutToShow, this, &TMainForm::EditMenuClick);
    connect(menuOf(PageRedrawMenu), &QMenu::aboutToShow, this, &TMainForm::displayMenuClick);
    connect(PageDeleteMenu, &QAction::triggered, this, &TMainForm::PageDeleteClick);
    connect(PasteMenu, &QAction::triggered, this, &TMainForm::PasteMenuClick);
    connect(PageRedrawMenu, &QAction::triggered, this, &TMainForm::PageRedispMenuClick);
}

QString TMainForm::PagePath(const QString& fileName) const {
    return Ws.scannerDir() + QLatin1Char('/') + fileName;
}

QImage TMainForm::thumbnailOf(int thumbIndex) const {
    return thumbIndex >= 0 && thumbIndex < ThumbNailList.count() ? ThumbNailList.at(thumbIndex)
                                                                 : QImage();
}

void TMainForm::refreshListItem(int row) {
    QListWidgetItem* item = ListView1->item(row);
    if (!item || row >= WorkingPages.count())
        return;
    const APageList& page = WorkingPages.at(row);
    fillingList_ = true;
    item->setIcon(QIcon(QPixmap::fromImage(thumbnailOf(page.ThumbIndex))));
    item->setText(page.Bookmark);
    fillingList_ = false;
}

int TMainForm::MakeThumbnail(const QString& file) {
    SetStatus(1, QStringLiteral("少々お待ちください。"));
    const QString path = file.contains(QLatin1Char('/')) ? file : PagePath(file);
    const QImage thumbnail = loadThumbnail(path, ThumbNailList.side());
    if (thumbnail.isNull())
        throw PageError(formatError());
    const int index = ThumbNailList.append(thumbnail);
    SetStatus(1, QStringLiteral("読み込み完了"));
    return index;
}

void TMainForm::ReplaceThumbnail(const QString& file, int index) {
    const QString path = file.contains(QLatin1Char('/')) ? file : PagePath(file);
    const QImage thumbnail = loadThumbnail(path, ThumbNailList.side());
    if (thumbnail.isNull())
        return;
    ThumbNailList.replace(index, thumbnail);
    for (int row = 0; row < WorkingPages.count(); ++row)
        if (WorkingPages.at(row).ThumbIndex == index)
            refreshListItem(row);
}

void TMainForm::appendPage(const QString& file, const QString& note, const QString& bookmark,
                           const QImage& thumbnail) {
    if (thumbnail.isNull())
        throw PageError(formatError());
    SetStatus(1, QStringLiteral("少々お待ちください。"));
    APageList page;
    page.FileName = pageNameOf(file);
    page.ThumbIndex = ThumbNailList.append(thumbnail);
    page.Note = note;
    page.Bookmark = bookmark;
    WorkingPages.append(page);
    fillingList_ = true;
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnail)), bookmark);
    item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    ListView1->addItem(item);
    fillingList_ = false;
    SetStatus(1, QStringLiteral("読み込み完了"));
    ListView1->viewport()->update();
}

void TMainForm::AddPage(const QString& file, const QString& note, const QString& bookmark) {
    const QString path = file.contains(QLatin1Char('/')) ? file : PagePath(file);
    appendPage(file, note, bookmark, loadThumbnail(path, ThumbNailList.side()));
}

void TMainForm::ResetThumbnails() {
    ThumbNailList.reset(TThumbNailList::sideFor(Reg.ImSize));
    ListView1->setIconSize(QSize(ThumbNailList.side(), ThumbNailList.side()));
}

bool TMainForm::RedisplayPageList() {
    if (WorkingPages.isEmpty())
        return false;
    fillingList_ = true;
    ListView1->clear();
    fillingList_ = false;
    PagePicked = false;
    ResetThumbnails();
    QStringList paths;
    for (const APageList& page : WorkingPages)
        paths << PagePath(page.FileName);
    ThumbnailBatch batch(paths, ThumbNailList.side());
    for (int row = 0; row < WorkingPages.count(); ++row) {
        const QImage thumbnail = batch.take(row); // lets pending window events run
        if (thumbnail.isNull())
            throw PageError(formatError());
        WorkingPages[row].ThumbIndex = ThumbNailList.append(thumbnail);
        fillingList_ = true;
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnail)),
                                         WorkingPages.at(row).Bookmark);
        item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
        ListView1->addItem(item);
        fillingList_ = false;
        ListView1->viewport()->update();
    }
    return true;
}

void TMainForm::ClearWorkingPages() {
    WorkingPages.clear();
}

void TMainForm::EmptyFolder(const QString& folder) {
    emptyFolder(folder);
}

void TMainForm::AddStoredPage(const QByteArray& jpeg, const QString& note, const QString& name,
                              const QString& bookmark) {
    checkStoredImageName(name);
    const QString target = PagePath(name + QStringLiteral(".jpg"));
    if (QFileInfo::exists(target))
        return;
    if (!writeWholeFile(target, jpeg))
        throw PageError(QStringLiteral("ページの画像を書き込めませんでした。\n") + target);
    AddPage(target, note, bookmark);
}

void TMainForm::SelectPageByName(const QString& file) {
    const int row = WorkingPages.lastIndexOfName(file);
    if (row < 0)
        return;
    CurrentPage = row;
    ListView1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TMainForm::PagekakuninShow() {
    deleteAllowed_ = true;
}

void TMainForm::PageControlChange() {
    SetStatus(0, QString());
    SetStatus(1, QString());
}

void TMainForm::ListView1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                 const QPoint& pos) {
    if (button == Qt::RightButton)
        return;
    if ((modifiers & ~Qt::KeypadModifier) == Qt::AltModifier) {
        PageDeleteClick();
        return;
    }
    deleteAllowed_ = true;
    QListWidgetItem* item = ListView1->itemAt(pos);
    if (!item) {
        PagePicked = false;
        CurrentPage = -1;
        SetStatus(0, QString());
        return;
    }
    PagePicked = true;
    CurrentPage = ListView1->row(item);
    SetStatus(0, QString::number(CurrentPage));
}

void TMainForm::ListView1Edited(int row, const QString& caption) {
    if (row < 0 || row >= WorkingPages.count())
        return;
    const QString cut = cutTextToBytes(caption, captionBytes);
    if (cut != WorkingPages.at(row).Bookmark)
        WorkingPages[row].Bookmark = cut;
    // The caption shows what was kept.
    refreshListItem(row);
}

void TMainForm::ListView1StartDrag() {
    dragSource_ = -1;
}

bool TMainForm::ListView1DragOver(QObject* source, const QPoint& pos) {
    if (!qobject_cast<QListWidget*>(source))
        return false;
    if (dragSource_ < 0) {
        if (QListWidgetItem* item = ListView1->itemAt(pos))
            dragSource_ = ListView1->row(item);
    }
    return true;
}

void TMainForm::ListView1DragDrop(const QPoint& pos) {
    // While the list is being rebuilt its items are not yet those of the pages.
    if (dragSource_ < 0 || ListView1->count() != WorkingPages.count())
        return;
    QListWidgetItem* target = ListView1->itemAt(pos);
    const TWorkingPages::Span span =
        WorkingPages.dragMove(dragSource_, target ? ListView1->row(target) : -1);
    for (int row = span.first; row <= span.last; ++row)
        refreshListItem(row);
    dragSource_ = -1;
}

void TMainForm::EditMenuClick() {
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    PasteMenu->setEnabled(clip && clip->hasText());
    PageDeleteMenu->setEnabled(PageControl->currentWidget() == Pagekakunin && CurrentPage >= 0);
}

void TMainForm::PageDeleteClick() {
    if (CurrentPage < 0 || !deleteAllowed_)
        return;
    deleteAllowed_ = false;
    if (WorkingPages.isEmpty())
        return;
    // A stale index, or a list still being rebuilt, deletes nothing.
    if (CurrentPage >= WorkingPages.count() || ListView1->count() != WorkingPages.count()) {
        deleteAllowed_ = true;
        return;
    }
    const int deleted = CurrentPage;
    WorkingPages.removeAt(deleted);
    for (int row = deleted; row < WorkingPages.count(); ++row)
        refreshListItem(row);
    fillingList_ = true;
    delete ListView1->takeItem(ListView1->count() - 1);
    fillingList_ = false;
    CurrentPage = -1;
    PagePicked = false;
    ListView1->clearSelection();
    ListView1->setCurrentItem(nullptr);
    PageDeleteMenu->setEnabled(!WorkingPages.isEmpty());
    deleteAllowed_ = true;
}

void TMainForm::PasteMenuClick() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !focused->hasFocus() || focused->window() != this)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(focused))
        line->paste();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused))
        plain->insertPlainText(QApplication::clipboard()->text());
    else if (auto* rich = qobject_cast<QTextEdit*>(focused))
        rich->insertPlainText(QApplication::clipboard()->text());
}

void TMainForm::displayMenuClick() {
    PageRedrawMenu->setEnabled(PageControl->currentWidget() == Pagekakunin);
}

void TMainForm::PageRedispMenuClick() {
    SetStatus(1, QStringLiteral("少々お待ちください。"));
    try {
        if (RedisplayPageList())
            SetStatus(1, QString());
        else
            SetStatus(1, QStringLiteral("表示エラーです。"));
    } catch (const PageError& e) {
        // The items built before the unreadable page stay.
        SetStatus(1, QString());
        Dialogs::instance().message(this, Dialogs::Kind::Error, e.message(), Dialogs::Ok);
    }
}
