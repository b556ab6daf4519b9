// The main window's fixed layout: the menu strip, the top panel, the four tabs and the
// status bar. Only widgets are made here; handlers are connected by their areas.

#include "chartwork/MainForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(caption);
    // As wide as the caption needs, so that the whole top panel fits a 1280-pixel screen.
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(caption) + 24);
    return b;
}

QToolButton* toolButton(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setToolTip(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(caption);
    return b;
}

// A caption label that names the control beside it for screen readers.
QLabel* labelFor(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return l;
}

QLineEdit* statusLine(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFrame(false);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAccessibleName(QString::fromLatin1(name));
    e->setMinimumWidth(180);
    return e;
}

} // namespace

void TMainForm::buildLayout() {
    setWindowTitle(QStringLiteral("トヴァネファイル Lite 2.0"));
    resize(1100, 780);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // A 4-pixel strip along the top that opens the main menu.
    MenuPanel = new QFrame(central);
    MenuPanel->setObjectName(QStringLiteral("MenuPanel"));
    MenuPanel->setFixedHeight(4);
    MenuPanel->setCursor(Qt::PointingHandCursor);
    MenuPanel->setToolTip(QStringLiteral("メニュー"));
    MenuPanel->setAccessibleName(QStringLiteral("メニュー"));
    MenuPanel->setAutoFillBackground(true);
    MenuPanel->setStyleSheet(QStringLiteral("QFrame#MenuPanel { background: palette(dark); }"));
    MenuPanel->installEventFilter(this);
    column->addWidget(MenuPanel);

    column->addWidget(buildTopPanel());

    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    Pagekakunin = buildPageListTab();
    Kanjakakunin = buildPageTab();
    KanjaKihon = buildPatientTab();
    DenpyoKinyu = buildSlipTab();
    PageControl->addTab(Pagekakunin, QStringLiteral("一覧"));
    PageControl->addTab(Kanjakakunin, QStringLiteral("ページ"));
    PageControl->addTab(KanjaKihon, QStringLiteral("患者基本情報"));
    PageControl->addTab(DenpyoKinyu, QStringLiteral("伝票記入"));
    column->addWidget(PageControl, 1);
    setCentralWidget(central);

    // Two panels: 100 pixels for counts and zoom, then the running status text.
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new QLabel(this);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels_[i]->setAccessibleName(QStringLiteral("ステータス%1").arg(i));
    }
    statusPanels_[0]->setFixedWidth(100);
    statusPanels_[1]->setMinimumWidth(50);
    statusBar()->addWidget(statusPanels_[0]);
    statusBar()->addWidget(statusPanels_[1], 1);
    statusBar()->setSizeGripEnabled(false);

    buildMainMenu();
}

QWidget* TMainForm::buildTopPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("TopPanel"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 6, 6, 6);

    ImportBtn = button(QStringLiteral("インポート"), "ImportBtn", panel);
    ClearButton = button(QStringLiteral("クリア"), "ClearButton", panel);
    ScannerRead = button(QStringLiteral("取込"), "ScannerRead", panel);
    ScannerRead->setToolTip(QStringLiteral("スキャナ画像読取"));
    row->addWidget(ImportBtn);
    row->addWidget(ClearButton);
    row->addWidget(ScannerRead);
    row->addSpacing(8);

    QFont bold = font();
    bold.setBold(true);
    IdEdit = new QLineEdit(panel);
    IdEdit->setObjectName(QStringLiteral("IdEdit"));
    IdEdit->setFont(bold);
    IdEdit->setFixedWidth(110);
    IdEdit->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferLatin);
    PidBtn = button(QStringLiteral("確認"), "PidBtn", panel);
    row->addWidget(labelFor(QStringLiteral("患者番号"), IdEdit, panel));
    row->addWidget(IdEdit);
    row->addWidget(PidBtn);

    VolNoEdit = new QComboBox(panel);
    VolNoEdit->setObjectName(QStringLiteral("VolNoEdit"));
    VolNoEdit->setEditable(true);
    VolNoEdit->setFont(bold);
    VolNoEdit->setFixedWidth(80);
    VolNoEdit->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferLatin);
    SubNoBtn = button(QStringLiteral("選択"), "SubNoBtn", panel);
    row->addWidget(labelFor(QStringLiteral("連番"), VolNoEdit, panel));
    row->addWidget(VolNoEdit);
    row->addWidget(SubNoBtn);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(1);
    StatusMess1 = statusLine("StatusMess1", panel);
    StatusMess2 = statusLine("StatusMess2", panel);
    StatusMess3 = statusLine("StatusMess3", panel);
    lines->addWidget(StatusMess1);
    lines->addWidget(StatusMess2);
    lines->addWidget(StatusMess3);
    row->addLayout(lines);

    SaveButton = button(QStringLiteral("保存"), "SaveButton", panel);
    SaveButton->setEnabled(false);
    SearchBtn = button(QStringLiteral("検索"), "SearchBtn", panel);
    PrintBtn = button(QStringLiteral("印刷"), "PrintBtn", panel);
    EraseBtn = button(QStringLiteral("消去"), "EraseBtn", panel);
    row->addWidget(SaveButton);
    row->addWidget(SearchBtn);
    row->addWidget(PrintBtn);
    row->addWidget(EraseBtn);
    row->addStretch(1);
    CloseButton = button(QStringLiteral("終了"), "CloseButton", panel);
    row->addWidget(CloseButton);
    return panel;
}

QWidget* TMainForm::buildPageListTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("Pagekakunin"));
    auto* layout = new QVBoxLayout(tab);
    ListView1 = new QListWidget(tab);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("一覧"));
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setMovement(QListView::Snap);
    ListView1->setWrapping(true);
    ListView1->setSpacing(6);
    ListView1->setUniformItemSizes(true);
    layout->addWidget(ListView1);
    return tab;
}

QWidget* TMainForm::buildPageTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("Kanjakakunin"));
    auto* layout = new QVBoxLayout(tab);

    auto* tools = new QHBoxLayout;
    PenBtn = toolButton(QStringLiteral("ペン"), "PenBtn", tab);
    EraserBtn = toolButton(QStringLiteral("消しゴム"), "EraserBtn", tab);
    LineBtn = toolButton(QStringLiteral("直線"), "LineBtn", tab);
    CurcleBtn = toolButton(QStringLiteral("円"), "CurcleBtn", tab);
    SquareBtn = toolButton(QStringLiteral("四角"), "SquareBtn", tab);
    SpoitBtn = toolButton(QStringLiteral("スポイト"), "SpoitBtn", tab);
    StrSetBtn = toolButton(QStringLiteral("文字"), "StrSetBtn", tab);
    DispToolBtn = toolButton(QStringLiteral("ツール"), "DispToolBtn", tab);
    ColorBtn = toolButton(QStringLiteral("色"), "ColorBtn", tab);
    for (QToolButton* b : {PenBtn, EraserBtn, LineBtn, CurcleBtn, SquareBtn, SpoitBtn, StrSetBtn,
                           DispToolBtn, ColorBtn})
        tools->addWidget(b);
    ColorPanel = new QFrame(tab);
    ColorPanel->setObjectName(QStringLiteral("ColorPanel"));
    ColorPanel->setFixedSize(22, 22);
    ColorPanel->setFrameShape(QFrame::Box);
    ColorPanel->setAutoFillBackground(true);
    ColorPanel->setAccessibleName(QStringLiteral("色"));
    tools->addWidget(ColorPanel);
    DotSizeBox = new QComboBox(tab);
    DotSizeBox->setObjectName(QStringLiteral("DotSizeBox"));
    DotSizeBox->setToolTip(QStringLiteral("線幅"));
    DotSizeBox->setAccessibleName(QStringLiteral("線幅"));
    tools->addWidget(DotSizeBox);
    StrPropertyBtn = toolButton(QStringLiteral("フォント"), "StrPropertyBtn", tab);
    tools->addWidget(StrPropertyBtn);
    StrBox = new QComboBox(tab);
    StrBox->setObjectName(QStringLiteral("StrBox"));
    StrBox->setEditable(true);
    StrBox->setToolTip(QStringLiteral("テキスト"));
    StrBox->setAccessibleName(QStringLiteral("テキスト"));
    StrBox->setMinimumWidth(140);
    tools->addWidget(StrBox);
    ZoomInBtn = toolButton(QStringLiteral("拡大"), "ZoomInBtn", tab);
    ZoomOutBtn = toolButton(QStringLiteral("縮小"), "ZoomOutBtn", tab);
    RotLeftBtn = toolButton(QStringLiteral("左回転"), "RotLeftBtn", tab);
    RotRieghtBtn = toolButton(QStringLiteral("右回転"), "RotRieghtBtn", tab);
    UpDownBtn = toolButton(QStringLiteral("上下反転"), "UpDownBtn", tab);
    UndoBtn = toolButton(QStringLiteral("元に戻す"), "UndoBtn", tab);
    tools->addStretch(1);
    layout->addLayout(tools);

    // Second row: view, rotation, undo and the eight send buttons.
    tools = new QHBoxLayout;
    for (QToolButton* b : {ZoomInBtn, ZoomOutBtn, RotLeftBtn, RotRieghtBtn, UpDownBtn, UndoBtn})
        tools->addWidget(b);
    tools->addSpacing(8);
    for (int i = 0; i < 8; ++i) {
        const QString caption = QString::number(i + 1);
        PrintButtons[i] = toolButton(caption, "", tab);
        PrintButtons[i]->setObjectName(QStringLiteral("Print%1Button").arg(i + 1));
        PrintButtons[i]->setAccessibleName(QStringLiteral("送信%1").arg(i + 1));
        tools->addWidget(PrintButtons[i]);
    }
    tools->addStretch(1);
    layout->addLayout(tools);

    ScrollBox1 = new QScrollArea(tab);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("ページ"));
    Image1->hide();
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setWidgetResizable(false);
    layout->addWidget(ScrollBox1, 1);

    auto* bottom = new QHBoxLayout;
    BeforeBtn = button(QStringLiteral("前頁"), "BeforeBtn", tab);
    AfterBtn = button(QStringLiteral("次頁"), "AfterBtn", tab);
    ShioriBox = new QComboBox(tab);
    ShioriBox->setObjectName(QStringLiteral("ShioriBox"));
    ShioriBox->setEditable(true);
    ShioriBox->setToolTip(QStringLiteral("しおり"));
    ShioriBox->setMinimumWidth(200);
    NoteMemo = new QPlainTextEdit(tab);
    NoteMemo->setObjectName(QStringLiteral("NoteMemo"));
    NoteMemo->setFixedHeight(60);
    bottom->addWidget(BeforeBtn);
    bottom->addWidget(AfterBtn);
    bottom->addWidget(labelFor(QStringLiteral("しおり"), ShioriBox, tab));
    bottom->addWidget(ShioriBox);
    bottom->addWidget(labelFor(QStringLiteral("メモ"), NoteMemo, tab));
    bottom->addWidget(NoteMemo, 1);
    layout->addLayout(bottom);
    return tab;
}

QWidget* TMainForm::buildPatientTab() {
    // The fields of the patient tab are laid out by its own area.
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("KanjaKihon"));
    return tab;
}

QWidget* TMainForm::buildSlipTab() {
    auto* tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("DenpyoKinyu"));
    auto* layout = new QVBoxLayout(tab);
    auto* bar = new QHBoxLayout;
    SheetBox = new QComboBox(tab);
    SheetBox->setObjectName(QStringLiteral("SheetBox"));
    SheetBox->setMinimumWidth(180);
    FormatOpen = button(QStringLiteral("開く(伝票)"), "FormatOpen", tab);
    PageWriteBtn = button(QStringLiteral("ページに書込み"), "PageWriteBtn", tab);
    DataOpenBtn = toolButton(QStringLiteral("開く(記入)"), "DataOpenBtn", tab);
    DataSaveBtn = toolButton(QStringLiteral("記入保存"), "DataSaveBtn", tab);
    DataRenamBtn = toolButton(QStringLiteral("別名保存"), "DataRenamBtn", tab);
    ClearBtn = toolButton(QStringLiteral("クリア"), "ClearBtn", tab);
    SampleCopyBtn = toolButton(QStringLiteral("サンプルコピー"), "SampleCopyBtn", tab);
    bar->addWidget(labelFor(QStringLiteral("伝票"), SheetBox, tab));
    bar->addWidget(SheetBox);
    bar->addWidget(FormatOpen);
    bar->addWidget(PageWriteBtn);
    for (QToolButton* b : {DataOpenBtn, DataSaveBtn, DataRenamBtn, ClearBtn, SampleCopyBtn})
        bar->addWidget(b);
    bar->addStretch(1);
    layout->addLayout(bar);

    ScrollBox2 = new QScrollArea(tab);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    InputPanel = new QWidget;
    InputPanel->setObjectName(QStringLiteral("InputPanel"));
    InputPanel->resize(800, 1000);
    // The 70 rows of a slip: heading, example and entry field, placed by the template.
    for (int i = 0; i < 70; ++i) {
        Midashi[i] = new QLabel(InputPanel);
        Midashi[i]->setObjectName(QStringLiteral("Midashi%1").arg(i + 1));
        Sample[i] = new QLabel(InputPanel);
        Sample[i]->setObjectName(QStringLiteral("sample%1").arg(i + 1));
        Kinyuran[i] = new QPlainTextEdit(InputPanel);
        Kinyuran[i]->setObjectName(QStringLiteral("Kinyuran%1").arg(i + 1));
    }
    ScrollBox2->setWidget(InputPanel);
    layout->addWidget(ScrollBox2, 1);
    return tab;
}

void TMainForm::buildMainMenu() {
    PopMainMenu = new QMenu(this);
    PopMainMenu->setObjectName(QStringLiteral("PopMainMenu"));
    auto add = [](QMenu* menu, const QString& caption) {
        return menu->addAction(caption);
    };

    QMenu* file = PopMainMenu->addMenu(QStringLiteral("ファイル"));
    ImageFileReadMenu = add(file, QStringLiteral("画像ファイル読込み"));
    FileImportMenu = add(file, QStringLiteral("ファイルインポート"));
    TwainReadMenu = add(file, QStringLiteral("Ｔｗａｉｎ読取り"));
    file->addSeparator();
    TwainSelectMenu = add(file, QStringLiteral("Ｔｗａｉｎ装置選択"));
    file->addSeparator();
    ExitMenu = add(file, QStringLiteral("終了"));

    QMenu* edit = PopMainMenu->addMenu(QStringLiteral("編集"));
    ErrorClearMenu = add(edit, QStringLiteral("エラーログのクリア"));
    edit->addSeparator();
    PageDeleteMenu = add(edit, QStringLiteral("ページの削除"));
    edit->addSeparator();
    PasteMenu = add(edit, QStringLiteral("貼り付け"));

    QMenu* view = PopMainMenu->addMenu(QStringLiteral("表示"));
    PageRedrawMenu = add(view, QStringLiteral("ページ確認の再描画"));
    view->addSeparator();
    ErrorShowMenu = add(view, QStringLiteral("エラーログの表示"));

    QMenu* settings = PopMainMenu->addMenu(QStringLiteral("設定"));
    ReadSetMenu = add(settings, QStringLiteral("読込設定"));
    WriteSetMenu = add(settings, QStringLiteral("保存設定"));
    PrinterSetMenu = add(settings, QStringLiteral("送信先設定"));
    InputSetMenu = add(settings, QStringLiteral("記入支援設定"));

    UtilMenu = PopMainMenu->addMenu(QStringLiteral("ユーティリティ"));
    VacuumMenu = add(UtilMenu, QStringLiteral("Vacuum"));
    MenteMenu = add(UtilMenu, QStringLiteral("メンテナンス"));
    DBRegChkMenu = add(UtilMenu, QStringLiteral("ＤＢ登録確認"));
    ExistMenu = add(UtilMenu, QStringLiteral("カルテ存在確認"));

    QMenu* help = PopMainMenu->addMenu(QStringLiteral("ヘルプ"));
    TopicsMenu = add(help, QStringLiteral("トピックス"));
    LatestMenu = add(help, QStringLiteral("最新情報"));
}
