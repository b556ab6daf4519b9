#pragma once
// The main window: the frame of the program (start-up, workspace checks, shut-down, menus,
// keys, help) and every control of the chart work. The handlers of each area of the chart
// work live in files of their own, MainForm_<Area>.cpp.

#include "chartfile/ChartPdfWriter.h"
#include "chartwork/WorkingPages.h"
#include "core/ActivityLog.h"
#include "core/PathString.h"
#include "core/Registory.h"
#include "core/Workspace.h"
#include "index/ChartIndex.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QWidget;
class Scanner;
class TErrorLogForm;
class TPatientTab;

// What "保存" does with the chart being put together.
enum class TFilingState { Idle, New, Overwrite };

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(const Workspace& workspace, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Runs the creation steps: checks and prepares the workspace, opens the activity log.
    // On a stop it shows the stop message (error box, button Yes) and returns false; the
    // program must then end without showing the window.
    bool FormCreate();

    // The status bar: panel 0 shows counts and zoom, panel 1 the running status text.
    void SetStatus(int panel, const QString& text);
    QString StatusText(int panel) const;

    // Appends a timestamped line to the error log.
    void AddError(const QString& message);
    // Appends a timed line to the activity log.
    void WriteActivity(const QString& text);
    // Appends a line as it stands to the activity log.
    void WriteActivityUntimed(const QString& text);

    const Workspace& workspace() const { return Ws; }
    TErrorLogForm* errorLog() const { return ErrorLogForm; }

    // ---- Long-lived members -------------------------------------------------------------
    Workspace Ws;
    TRegistory Reg;
    TDirFile DirFile;
    ActivityLog Activity;
    TErrorLogForm* ErrorLogForm = nullptr;
    ChartIndex Index; // the chart index, connected while the window is shown

    // ---- Chart state ------------------------------------------------------------------------
    int PatientNo = 0;
    int VolumeNo = 0;
    int LastPatientNo = 0;
    bool NumberConfirmed = false;
    TFilingState FilingState = TFilingState::Idle;
    QString VolumeFolder;
    QString VolumeFileName;
    QString VolumePath;

    // ---- Controls (named as the program's components) -----------------------------------
    QFrame* MenuPanel = nullptr;
    QPushButton* ImportBtn = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* ScannerRead = nullptr;
    QLineEdit* IdEdit = nullptr;
    QPushButton* PidBtn = nullptr;
    QComboBox* VolNoEdit = nullptr;
    QPushButton* SubNoBtn = nullptr;
    QLineEdit* StatusMess1 = nullptr;
    QLineEdit* StatusMess2 = nullptr;
    QLineEdit* StatusMess3 = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* SearchBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* EraseBtn = nullptr;
    QPushButton* CloseButton = nullptr;

    QTabWidget* PageControl = nullptr;
    QWidget* Pagekakunin = nullptr;  // "一覧"
    QWidget* Kanjakakunin = nullptr; // "ページ"
    QWidget* KanjaKihon = nullptr;   // "患者基本情報"
    QWidget* DenpyoKinyu = nullptr;  // "伝票記入"

    // Tab "一覧"
    QListWidget* ListView1 = nullptr;

    // Tab "ページ": tool bar, view, navigation, bookmark and note
    QToolButton* PenBtn = nullptr;
    QToolButton* EraserBtn = nullptr;
    QToolButton* LineBtn = nullptr;
    QToolButton* CurcleBtn = nullptr;
    QToolButton* SquareBtn = nullptr;
    QToolButton* SpoitBtn = nullptr;
    QToolButton* StrSetBtn = nullptr;
    QToolButton* DispToolBtn = nullptr;
    QToolButton* ColorBtn = nullptr;
    QFrame* ColorPanel = nullptr;
    QComboBox* DotSizeBox = nullptr;
    QToolButton* StrPropertyBtn = nullptr;
    QComboBox* StrBox = nullptr;
    QToolButton* ZoomInBtn = nullptr;
    QToolButton* ZoomOutBtn = nullptr;
    QToolButton* RotLeftBtn = nullptr;
    QToolButton* RotRieghtBtn = nullptr;
    QToolButton* UpDownBtn = nullptr;
    QToolButton* UndoBtn = nullptr;
    QToolButton* PrintButtons[8] = {}; // Print1Button to Print8Button
    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* BeforeBtn = nullptr;
    QPushButton* AfterBtn = nullptr;
    QComboBox* ShioriBox = nullptr;
    QPlainTextEdit* NoteMemo = nullptr;

    // Tab "伝票記入"
    QComboBox* SheetBox = nullptr;
    QPushButton* FormatOpen = nullptr;
    QPushButton* PageWriteBtn = nullptr;
    QToolButton* DataOpenBtn = nullptr;
    QToolButton* DataSaveBtn = nullptr;
    QToolButton* DataRenamBtn = nullptr;
    QToolButton* ClearBtn = nullptr;
    QToolButton* SampleCopyBtn = nullptr;
    QScrollArea* ScrollBox2 = nullptr;
    QWidget* InputPanel = nullptr;
    QLabel* Sample[70] = {};           // sample1 to sample70
    QLabel* Midashi[70] = {};          // Midashi1 to Midashi70
    QPlainTextEdit* Kinyuran[70] = {}; // Kinyuran1 to Kinyuran70

    // The pop-up main menu and its items
    QMenu* PopMainMenu = nullptr;
    QAction* ImageFileReadMenu = nullptr; // "画像ファイル読込み"
    QAction* FileImportMenu = nullptr;    // "ファイルインポート"
    QAction* TwainReadMenu = nullptr;     // "Ｔｗａｉｎ読取り"
    QAction* TwainSelectMenu = nullptr;   // "Ｔｗａｉｎ装置選択"
    QAction* ExitMenu = nullptr;          // "終了"
    QAction* ErrorClearMenu = nullptr;    // "エラーログのクリア"
    QAction* PageDeleteMenu = nullptr;    // "ページの削除"
    QAction* PasteMenu = nullptr;         // "貼り付け"
    QAction* PageRedrawMenu = nullptr;    // "ページ確認の再描画"
    QAction* ErrorShowMenu = nullptr;     // "エラーログの表示"
    QAction* ReadSetMenu = nullptr;       // "読込設定"
    QAction* WriteSetMenu = nullptr;      // "保存設定"
    QAction* PrinterSetMenu = nullptr;    // "送信先設定"
    QAction* InputSetMenu = nullptr;      // "記入支援設定"
    QMenu* UtilMenu = nullptr;            // "ユーティリティ"
    QAction* VacuumMenu = nullptr;        // "Vacuum"
    QAction* MenteMenu = nullptr;         // "メンテナンス"
    QAction* DBRegChkMenu = nullptr;      // "ＤＢ登録確認"
    QAction* ExistMenu = nullptr;         // "カルテ存在確認"
    QAction* TopicsMenu = nullptr;        // "トピックス"
    QAction* LatestMenu = nullptr;        // "最新情報"

    // Web pages of the vendor, opened when the help file is missing and by "最新情報".
    static const char* const SupportUrl;
    static const char* const LatestUrl;

    // Page list ----------------------------------------------------------------------------
public:
    TWorkingPages WorkingPages;
    TThumbNailList ThumbNailList;
    int CurrentPage = -1;
    // Whether a list item has been picked since the list was last refilled.
    bool PagePicked = false;

    // The path of a page's image file: Scanner folder + "/" + its FileName.
    QString PagePath(const QString& fileName) const;
    // Appends a page (its thumbnail made first). Throws PageError "ファイル形式エラー"
    // before anything is appended when the image cannot be read.
    void AddPage(const QString& file, const QString& note, const QString& bookmark);
    bool HasPageFile(const QString& file) const { return WorkingPages.hasPageFile(file); }
    // Makes the thumbnail of an image file (a name in the Scanner folder or a path), appends
    // it to ThumbNailList and returns its index. Throws PageError "ファイル形式エラー".
    int MakeThumbnail(const QString& file);
    // Rebuilds the thumbnail at `index`; an unreadable file changes nothing.
    void ReplaceThumbnail(const QString& file, int index);
    void ResetThumbnails();
    // Rebuilds every item and thumbnail at the current ImSize; false when there are no pages.
    // Throws PageError at an unreadable page, the items before it kept.
    bool RedisplayPageList();
    void ClearWorkingPages();
    void EmptyFolder(const QString& folder);
    // Writes a page image of a stored chart into the Scanner folder as name + ".jpg" and
    // appends it, unless a file of that name is there already. Throws PageError for a name
    // that is not one plain file name, before anything is written.
    void AddStoredPage(const QByteArray& jpeg, const QString& note, const QString& name,
                       const QString& bookmark);
    void SelectPageByName(const QString& file);

public slots:
    void PagekakuninShow();
    void PageControlChange();
    void ListView1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                          const QPoint& pos);
    void ListView1Edited(int row, const QString& caption);
    void ListView1StartDrag();
    // Accepts only a list view as the source; the first item under the pointer becomes the
    // drag source.
    bool ListView1DragOver(QObject* source, const QPoint& pos);
    void ListView1DragDrop(const QPoint& pos);
    void EditMenuClick();
    void PageDeleteClick();
    void PasteMenuClick();
    void displayMenuClick();
    void PageRedispMenuClick();

private:
    void connectPageList();
    // Appends a page whose thumbnail is made already; throws PageError for a null one.
    void appendPage(const QString& file, const QString& note, const QString& bookmark,
                    const QImage& thumbnail);
    // Sets list item `row` from record `row`.
    void refreshListItem(int row);
    QImage thumbnailOf(int thumbIndex) const;
    bool deleteAllowed_ = true;
    int dragSource_ = -1;
    bool fillingList_ = false;

    // Acquisition --------------------------------------------------------------------------
public:
    Scanner* TwainScanner = nullptr;

    // The folder read's filter text from the file type settings; empty when none is on.
    QString ImageFileFilter() const;
    // Reads the Scanner folder into the working pages. Throws PageError at an unreadable
    // image, the pages before it kept.
    void ReadScannerFolder();
    void AddScannerFiles(const QStringList& patterns);
    // Disables the main controls during a long operation and later gives each its state back.
    void SetBusy(bool on);

public slots:
    void ScannerReadClick();
    void ReadFilesClick();
    void TwainSourceMenuClick();
    void TwainReadMenuClick();

private:
    void connectAcquisition();
    void TwainAcquired(const QImage& image);
    void TwainFailed(const QString& reason);
    QList<QObject*> busyControls() const;
    QList<bool> busyStates_;
    int busyDepth_ = 0;
    // ----------------------------------------------------------------------------------------

public slots:
    void CloseButtonClick();
    void HelpMenuClick();
    void latestMenuClick();
    void UtilNemuClick();
    void ErrorClearMenuClick();
    void ErrorShowMenuClick();
    // Opens the main menu at a screen point.
    void PopupMainMenu(const QPoint& screenPoint);

    // Patient and volume selection ---------------------------------------------------------
    // Empties the Scanner folder, the working pages, the selection and the patient fields.
    void ResetChart();
    // Resets the selection, the status lines and the chart buttons, and the patient fields.
    void ResetSelection();
    void PidBtnClick();
    void SubNoBtnClick();
    void ClearButtonClick();

public:
    // The tab "患者基本情報", built into KanjaKihon.
    TPatientTab* PatientTab = nullptr;

private:
    void connectSelection();
    // A refused entry: warning box (button Yes), the same text in status panel 1.
    void refuseEntry(const QString& text);
    void setStatusLineColor(const QColor& color);
    // Loads the pages of the selected volume's chart PDF; false when it failed.
    bool loadSelectedVolume();
    // ----------------------------------------------------------------------------------------

    // Saving and erasing -------------------------------------------------------------------
public:
    // The chart PDF writer, alive for the whole run; tests fix its clock and image names.
    TPdfWriteForm PdfWriteForm;
    // The clock of the save's file name, title line and TOVANEDATE; tests fix it.
    std::function<QDateTime()> SaveClock;
    // Shows pages done of pages while a volume is written; hidden otherwise.
    QProgressBar* SaveProgress = nullptr;

    // The identification line of a page: HPCode, HPName, KaCode, date and time, PatientNo and
    // VolumeNo, separated by blanks.
    QString PageHeader(const QDateTime& at) const;
    // Writes every working page into a chart PDF at `path` (either separator form), titled with
    // the header of this moment. The window repaints and shows the progress meanwhile. Throws
    // ChartPdfWriterError when no page could be written or the file could not be made; an
    // earlier file at `path` is then left as it was.
    void WriteVolumePdf(const QString& path);
    // Moves one file to the desktop's trash; the caller checks whether it is gone.
    static void RecycleFile(const QString& path);

public slots:
    void SaveButtonClick();
    void EraseBtnClick();

private:
    void connectSaving();
    bool SaveNewVolume();
    bool SaveUpdateVolume();
    // The index row of the volume being saved, from the chart state and the patient fields.
    IndexRow SaveRow(const QDateTime& at) const;
    // One failure of a save or an erase: its box (one button), its error log line and, when
    // given, its status text.
    void saveFailure(const QString& box, int button, const QString& log,
                     const QString& status = QString());
    // The index row of a save could not be written ("New" or "Add" in the log line).
    void databaseWriteFailed(const QString& kind);
    // The end of a successful save: its box, the activity line, the reset.
    void saveSucceeded(const QString& file);
    bool writingVolume_ = false;
    // ----------------------------------------------------------------------------------------

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QWidget* buildTopPanel();
    QWidget* buildPageListTab();
    QWidget* buildPageTab();
    QWidget* buildPatientTab();
    QWidget* buildSlipTab();
    void buildMainMenu();

    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    // Connects the chart index; on failure shows the box, logs the line, returns false.
    bool ConnectIndex();
    void DisconnectIndex();

    bool shown_ = false;
    bool closing_ = false;
    QLabel* statusPanels_[2] = {};
};
