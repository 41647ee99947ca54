#pragma once
// TfoMAIN, the Qt skin of the main window: TMainForm (the window's logic)
// plus its view over Qt widgets. A tool bar of large flat buttons on a
// gradient, the result list framed by gradient strips, and a two-panel
// status bar. It builds and draws the components, routes every event to
// the handler of the same name in TMainForm and carries out what the logic
// asks of the view (main_window_view.cpp).
#include <QIcon>
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/main_view.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace tavrin {

class TFontDialog;
class TGradationExprs;
class TResultModel;
class TResultView;
class TWindowGeometry;
class TfoSet;

class TfoMAIN : public QMainWindow, public IMainView, public TMainForm {
  Q_OBJECT
 public:
  explicit TfoMAIN(QWidget* parent = nullptr);
  ~TfoMAIN() override;

  // The hint of a tool-bar control (CP932, a CR breaks the line); it is the
  // control's tool-tip while hints are on.
  using TMainForm::Hint;
  using TMainForm::SetHint;
  void SetHint(QWidget* control, const std::string& sjis);
  static std::string Hint(const QWidget* control);

  // A key as Qt gives it, through the key table.
  using TMainForm::FormKeyDown;
  bool FormKeyDown(int key, Qt::KeyboardModifiers shift, bool repeat = false);
  static TKey KeyOf(int qtKey);
  static TShiftState ShiftOf(Qt::KeyboardModifiers modifiers);

  TResultView* ResultView() const { return lvResult; }
  TResultModel* ResultModel() const { return FModel; }
  QString StatusText() const;

  // IMainView.
  void SetStatus(const std::string& sjis) override;
  void SetControlHint(TControl control, const std::string& sjis, bool shown) override;
  void SetTitle(const std::string& sjis) override;
  void SetControlEnabled(TControl control, bool enabled) override;
  void ListReset() override;
  void ListRowsRemoved(const std::vector<bool>& removed) override;
  void ListReordered(const std::vector<int>& newPosition) override;
  void ListGroupsChanged() override;
  void SetSortMark(int column, int direction) override;
  void SetListHighlight(bool on) override;
  std::vector<std::size_t> SelectedRows() const override;
  bool HasSelection() const override;
  std::optional<std::size_t> CurrentRow() const override;
  void ClearSelection() override;
  void SelectRows(const std::vector<std::size_t>& rows,
                  std::optional<std::size_t> current) override;
  void ScrollToRow(std::size_t row) override;
  std::optional<std::size_t> TopRow() const override;
  void SetTopRow(std::size_t row) override;
  int ColumnWidth(int column) const override;
  void SetColumnWidth(int column, int width) override;
  FontValue ListFont() const override;
  void SetListFont(const FontValue& font) override;
  std::optional<TClipboardText> ReadClipboard(std::string Room) override;
  bool WriteClipboard(const std::string& sjis) override;
  bool Message(MessageKind kind, const std::string& sjis) override;
  void Beep() override;
  void BeginWait() override;
  void EndWait() override;
  bool StayOnTop() const override;
  void SetStayOnTop(bool on) override;
  void SetCaption(TControl control, const std::string& sjis) override;
  bool OpenDocument(const std::string& path) override;
  void ShowVersionDialog(const std::string& version, const std::string& build,
                         const std::string& since) override;
  bool RunSettingsDialog(TSetOptionValues& options, FontValue& listFont,
                         const std::vector<TSampleRow>& samples,
                         const TDictionaryLine& dictionary) override;
  bool OpenInEditor(const std::string& path) override;
  bool DebugControlsVisible() const override;
  void SetDebugControlsVisible(bool visible) override;
  void SetMemoLines(const std::vector<std::string>& sjisLines) override;
  TFormGeometry WindowGeometry() const override;
  void PlaceWindow(const TFormGeometry& geometry) override;
  std::vector<TRect> ScreenAreas() const override;
  void CloseWindow() override;

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
  void SetStatusText(const QString& text);  // text and tool-tip of panel 1

  bool IsKeyTarget(QObject* watched) const;
  void ActivateGradients();
  void ConnectExtras();
  void CreateSetDialog();
  void SettlePlacement();
  QWidget* ControlWidget(TControl control) const;
  QAction* ControlAction(TControl control) const;

  TfoSet* foSet = nullptr;
  TWindowGeometry* FGeometry = nullptr;
  bool FShown = false;

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
  QAction* N4 = nullptr;
  QAction* pmMakeCanonical = nullptr;
  QAction* pmLeaveGroup = nullptr;
  QAction* pmJoinSelected = nullptr;
  QAction* pmUndoDictionary = nullptr;
  std::vector<QIcon> IL201905;
  TFontDialog* dlgFont = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace tavrin
