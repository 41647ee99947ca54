#pragma once
// TfoMAIN: the main window. A tool bar of large flat buttons on a gradient,
// the result list framed by gradient strips, and a two-panel status bar.
// It owns the collection of distinct lines and the input lines, holds every
// user option as a field bound to the settings file, and dispatches every
// command. The commands live in files by group: intake, commands, list,
// copy and keys.
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QIcon>

#include "app/clipboard_lines.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace tavrin {

class TAccIni;
class TFontDialog;
class TGradationExprs;
class TKeyPreview;
class TResultModel;
class TResultView;
class TUniqueItem;
class TUniqueManager;
class TfoSet;
struct TResultRow;

// The last sort direction of the list's text and count columns (1 or -1).
extern int TextSortDirection;
extern int CountSortDirection;

class TfoMAIN : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfoMAIN(QWidget* parent = nullptr);
  ~TfoMAIN() override;

  // Option fields, bound to the keys of the same names. Public: the settings
  // dialog edits them.
  std::int32_t FSetLvColumn0 = 480;
  std::int32_t FSetLvColumn1 = 65;
  bool FGuidePending = false;
  bool FZenkaku = true;
  bool FUpper = true;
  bool FCopyCount = true;
  bool FTrim = false;
  bool FExprsQuote = false;
  bool FExtractSort = true;
  bool FHyphenTerminate = true;
  bool FHyphen = true;
  bool FSound = true;
  bool FHint = true;
  bool FDebug = false;

  void ApplyHint(bool show);
  void ApplyEngine();

  // The hint of a tool-bar control (CP932, a CR breaks the line); it is the
  // control's tool-tip while hints are on.
  void SetHint(QWidget* control, const std::string& sjis);
  static std::string Hint(const QWidget* control);

  // Commands. The sender tells the callers apart, as the key table and the
  // buttons pass them.
  void sbGetAllDataClick(QObject* Sender);
  void sbExtractRuijiClick(QObject* Sender);
  void pmCopySelectClick(QObject* Sender);
  void pmDeleteClick();
  // The normalized text of the last input, and the replacement map, of
  // what [類字抽出] found (main_window_groups.cpp).
  void pmCopyNormalizedClick();
  void pmCopyMapClick();
  void PopupMenu1Popup();
  void lvResultClick();
  void lvResultDblClick();
  void lvResultColumnClick(int column);
  void imgHelpClick();

  // Window extras (main_window_extras.cpp).
  void sbSwFormStyleClick();
  void imgVersionClick();
  void imgVersionMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
  void imgHelpMouseDown(Qt::MouseButton Button);
  void GradationExprs1DblClick();
  void sbDblClick();
  void Button1Click();
  void Button2Click();

  // Returns true when the key was one of the table's; the key goes on to
  // the focused control all the same.
  bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

  TUniqueManager* UniqueManager() const { return FUniqueManager.get(); }
  const TClipboardLines& Lines() const { return FLines; }
  TResultView* ResultView() const { return lvResult; }
  TResultModel* ResultModel() const { return FModel; }
  TAccIni* AccIni() const { return AccIni1; }
  QString StatusText() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Design: every component at its place (main_window_layout.cpp).
  void BuildComponents();
  void BuildToolBar();
  void BuildClient();
  void BuildStatusBar();
  void BuildPopupMenu();
  void ConnectEvents();
  void LayoutClient();

  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void sbCloseClick();
  void ApplyHintTo(QWidget* control, bool show);
  bool IsKeyTarget(QObject* watched) const;
  void ActivateGradients();
  void ConnectExtras();

  // The bound settings (main_window_settings.cpp).
  void BindSettings();
  void LoadSettings();
  void SaveSettings();

  // The settings dialog, created once after FormCreate (main_window_set.cpp).
  void CreateSetDialog();
  void sbSetClick();
  TfoSet* foSet = nullptr;

  // Intake (main_window_intake.cpp).
  bool ReadClipboard();
  void BuildData(bool ShowAll);
  // Status panel 1 (CP932), repainted at once: the only repaint while a
  // command runs.
  void SetStatus(const std::string& sjis);
  void SetStatusText(const QString& text);  // text and tool-tip of panel 1

  // Commands (main_window_commands.cpp).
  void ExtractSimilar();
  void ShowSummary(bool AllData);

  // List (main_window_list.cpp).
  void FillList(bool SimilarOnly);
  // The groups of the listed similar rows into the list (main_window_groups.cpp).
  void ShowGroups();
  // The copy of pmCopyNormalizedClick and pmCopyMapClick.
  bool CopyFound(const std::function<std::string()>& makeText, const std::string& message);
  // Positions of the selected rows, ascending.
  std::vector<std::size_t> SelectedRows() const;
  bool HasSelection() const;
  void Beep();

  // Owned objects; released at the close query.
  std::unique_ptr<TUniqueManager> FUniqueManager;
  TClipboardLines FLines;
  // The clipboard text as read, and the one the collection was built from
  // (normalizing writes it back).
  std::string FReadText, FInputText;
  bool FListSimilar = false;  // the list shows what [類字抽出] found
  bool FShowDone = false;

  // Components (named after the design; see objectName).
  QWidget* pnToolBar = nullptr;
  TGradationExprs* GradationExprs1 = nullptr;
  QToolButton* sbClose = nullptr;
  QToolButton* sbExtractRuiji = nullptr;
  QToolButton* sbGetAllData = nullptr;
  QToolButton* sbCopyAll = nullptr;
  QToolButton* sbSwFormStyle = nullptr;
  QToolButton* sbSet = nullptr;
  QLabel* imgHelp = nullptr;
  QLabel* imgVersion = nullptr;
  QLabel* img1 = nullptr;
  QLabel* img2 = nullptr;
  QLabel* img3 = nullptr;
  QWidget* pnClient = nullptr;
  TGradationExprs* GradationExprs2 = nullptr;
  TGradationExprs* GradationExprs3 = nullptr;
  TGradationExprs* GradationExprs4 = nullptr;
  TGradationExprs* GradationExprs5 = nullptr;
  TResultView* lvResult = nullptr;
  TResultModel* FModel = nullptr;
  QStatusBar* sb = nullptr;
  QLabel* sbPanel0 = nullptr;
  QLabel* sbPanel1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* pmCopyAll = nullptr;
  QAction* pmCopySelect = nullptr;
  QAction* N2 = nullptr;
  QAction* pmDelete = nullptr;
  QAction* N3 = nullptr;
  QAction* pmCopyNormalized = nullptr;
  QAction* pmCopyMap = nullptr;
  std::vector<QIcon> IL201905;
  TAccIni* AccIni1 = nullptr;
  TFontDialog* dlgFont = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  bool FListAnchored = false;  // right and bottom anchors of lvResult
  // The widths the header took from FSetLvColumn0/1 (it keeps a minimum):
  // a column still at that width was not resized and saves what was read.
  int FLoadedColumnWidth[2] = {0, 0};
};

}  // namespace tavrin
