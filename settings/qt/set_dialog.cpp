#include "settings/qt/set_dialog.h"

#include "settings/set_options.h"

#include <QWindow>

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>

#include "settings/qt/font_binding.h"
#include "settings/qt/font_dialog.h"
#include "util/cp932.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"

namespace tavrin {
namespace {

QString Text(const char* utf8) { return FromSjis(cp932::Sjis(utf8)); }

QFont FormFont() {
  QFont font(QStringLiteral("Meiryo UI"));
  font.setPixelSize(19);
  return font;
}

// A group box with its caption from the option table.
QGroupBox* MakeGroup(QWidget* parent, const char* name, QRect place) {
  std::string caption;
  for (const TSetGroupRow& g : SetGroupRows())
    if (g.Name == name) caption = g.Caption;
  auto* group = new QGroupBox(Text(caption.c_str()), parent);
  group->setObjectName(QString::fromLatin1(name));
  group->setGeometry(place);
  return group;
}

// Check boxes sit 16 from the group's left, 28 from its top, 28 apart, and
// reach to the group's right frame: the long captions need the room. In a
// group of several columns they run along the rows, each column an equal
// share of the width.
QCheckBox* MakeCheck(QGroupBox* group, TSetOption option, int columns = 1) {
  // The option's caption and its place among its group's options.
  const TSetOptionRow* entry = nullptr;
  int place = 0;
  for (const TSetOptionRow& r : SetOptionRows()) {
    if (r.Option == option) {
      entry = &r;
      break;
    }
    if (r.Group == group->objectName().toStdString()) ++place;
  }
  auto* box = new QCheckBox(Text(std::string(entry->Caption).c_str()), group);
  box->setObjectName(QString::fromLatin1(entry->Name.data(), qsizetype(entry->Name.size())));
  const int pitch = (group->width() - 16) / columns;
  box->setGeometry(16 + pitch * (place % columns), 28 + 28 * (place / columns),
                   columns == 1 ? group->width() - 18 : pitch - 2, 26);
  box->setCursor(Qt::PointingHandCursor);
  // The installed substitute of the design font runs wider: a caption that
  // would be cut off at its box's edge is set a little smaller instead.
  QFont font = box->font();
  while (box->sizeHint().width() > box->width() && font.pixelSize() > 12) {
    font.setPixelSize(font.pixelSize() - 1);
    box->setFont(font);
  }
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect place,
                        QStyle::StandardPixmap picture) {
  auto* button = new QPushButton(parent->style()->standardIcon(picture), Text(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setIconSize(QSize(24, 24));
  return button;
}

}  // namespace

TfoSet::TfoSet(TFontDialog* fontDialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dlgFont(fontDialog) {
  setObjectName(QStringLiteral("foSet"));
  setWindowTitle(Text("Tavrin 設定ダイアログ"));
  setFont(FormFont());
  setFixedSize(514, 696);  // pixels, whatever the system's font size
  setSizeGripEnabled(false);

  GroupBox3 = MakeGroup(this, "GroupBox3", {8, 8, 497, 117});
  chbExtractTrim = MakeCheck(GroupBox3, TSetOption::chbExtractTrim);
  chbSound = MakeCheck(GroupBox3, TSetOption::chbSound);
  chbShowHint = MakeCheck(GroupBox3, TSetOption::chbShowHint);

  GroupBox4 = MakeGroup(this, "GroupBox4", {8, 128, 497, 85});
  chbHyphen = MakeCheck(GroupBox4, TSetOption::chbHyphen);
  chbHyphenTerminate = MakeCheck(GroupBox4, TSetOption::chbHyphenTerminate);

  GroupBox1 = MakeGroup(this, "GroupBox1", {8, 216, 497, 85});
  chbZenkaku = MakeCheck(GroupBox1, TSetOption::chbZenkaku);
  chbUpper = MakeCheck(GroupBox1, TSetOption::chbUpper);

  GroupBox2 = MakeGroup(this, "GroupBox2", {8, 304, 497, 233});
  chbExtractSort = MakeCheck(GroupBox2, TSetOption::chbExtractSort);
  chbExprsQuote = MakeCheck(GroupBox2, TSetOption::chbExprsQuote);
  chbCopyCount = MakeCheck(GroupBox2, TSetOption::chbCopyCount);
  Label1 = new QLabel(Text("フォント(下のリストをクリックしてください)"), GroupBox2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(16, 110, 465, 24);

  lvSet = new QTreeWidget(GroupBox2);
  lvSet->setObjectName(QStringLiteral("lvSet"));
  lvSet->setGeometry(16, 136, 465, 89);
  lvSet->setRootIsDecorated(false);
  lvSet->setItemsExpandable(false);
  lvSet->setAllColumnsShowFocus(true);
  lvSet->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvSet->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // On the Tab key's way after the check boxes; Enter or Space opens the
  // font dialog, as a click does.
  lvSet->setFocusPolicy(Qt::StrongFocus);
  lvSet->setIconSize(QSize(16, 16));
  lvSet->setColumnCount(2);
  lvSet->setHeaderLabels({Text("文字列"), Text("個数")});
  lvSet->header()->setStretchLastSection(false);
  lvSet->header()->setSectionsMovable(false);
  lvSet->header()->setSectionsClickable(true);
  lvSet->header()->resizeSection(0, 360);
  lvSet->header()->resizeSection(1, 75);
  connect(lvSet->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { lvSetColumnClick(column); });
  lvSet->viewport()->installEventFilter(this);

  // The kinds of variants, four to a row, below the others.
  GroupBox5 = MakeGroup(this, "GroupBox5", {8, 540, 497, 85});
  chbKanji = MakeCheck(GroupBox5, TSetOption::chbKanji, 4);
  chbCompat = MakeCheck(GroupBox5, TSetOption::chbCompat, 4);
  chbSpace = MakeCheck(GroupBox5, TSetOption::chbSpace, 4);
  chbSymbol = MakeCheck(GroupBox5, TSetOption::chbSymbol, 4);
  chbKana = MakeCheck(GroupBox5, TSetOption::chbKana, 4);
  chbCompany = MakeCheck(GroupBox5, TSetOption::chbCompany, 4);
  chbNumber = MakeCheck(GroupBox5, TSetOption::chbNumber, 4);
  chbOkurigana = MakeCheck(GroupBox5, TSetOption::chbOkurigana, 4);

  bbOK = MakeButton(this, "bbOK", "設定する", {104, 636, 145, 49}, QStyle::SP_DialogOkButton);
  bbOK->setDefault(true);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  bbCancel = MakeButton(this, "bbCancel", "キャンセル", {264, 636, 145, 49},
                        QStyle::SP_DialogCancelButton);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Key preview: the form sees every key before the control with the focus.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfoSet::setVisible(bool visible) {
  if (visible && !isVisible()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->geometry().center());
      move(frame.topLeft());
    }
  }
  QDialog::setVisible(visible);
}

void TfoSet::lvSetClick() {
  if (!dlgFont) dlgFont = new TFontDialog(this);
  // Over this dialog, not over the window that made the font dialog: its
  // centre, and this dialog as its transient parent for the window manager.
  QRect frame = dlgFont->frameGeometry();
  frame.moveCenter(frameGeometry().center());
  dlgFont->move(frame.topLeft());
  if (windowHandle()) {
    dlgFont->winId();
    dlgFont->windowHandle()->setTransientParent(windowHandle());
  }
  dlgFont->SetFontValue(WidgetFont(*lvSet));
  if (ExecModal(*dlgFont) != QDialog::Accepted) return;
  // The toolkit's dialog takes any size: one beyond the range is kept to it.
  FontValue chosen = dlgFont->SelectedFontValue();
  chosen.size = KeepChosenFontSize(chosen.size);
  SetWidgetFont(*lvSet, chosen);
}

void TfoSet::lvSetColumnClick(int /*column*/) { lvSetClick(); }

bool TfoSet::FormKeyDown(int key) {
  if (key != Qt::Key_Escape) return false;
  reject();
  return true;
}

bool TfoSet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (FormKeyDown(key)) return true;
    if (watched == lvSet &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
      lvSetClick();
      return true;
    }
  }
  if (watched == lvSet->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        lvSet->viewport()->rect().contains(mouse->position().toPoint()))
      lvSetClick();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tavrin
