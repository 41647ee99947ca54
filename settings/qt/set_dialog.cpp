#include "settings/qt/set_dialog.h"

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
#include <QWindow>

#include "settings/qt/font_binding.h"
#include "settings/qt/font_dialog.h"
#include "settings/set_layout.h"
#include "settings/set_options.h"
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

QRect Place(const TRect& r) { return {r.Left, r.Top, r.Width, r.Height}; }
// A place inside a group box, from the group's own corner.
QRect Place(const TRect& r, const TRect& group) {
  return {r.Left - group.Left, r.Top - group.Top, r.Width, r.Height};
}

QCheckBox* MakeCheck(QGroupBox* group, const TSetOptionRow& row, QRect place) {
  auto* box = new QCheckBox(Text(std::string(row.Caption).c_str()), group);
  box->setObjectName(QString::fromLatin1(row.Name.data(), qsizetype(row.Name.size())));
  box->setGeometry(place);
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
  // The one column of the shared layout, in pixels whatever the system's
  // font size.
  const TSetLayout layout = SetDialogLayout();
  setFixedSize(layout.ClientWidth, layout.ClientHeight);
  setSizeGripEnabled(false);

  // Made group by group, each with its check boxes (and the sample list
  // in its group), which is the tab order.
  const auto& groups = SetGroupRows();
  const TSetOptionRow* first = SetOptionRows().data();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const TRect& place = layout.Groups[g];
    auto* group = new QGroupBox(Text(std::string(groups[g].Caption).c_str()), this);
    group->setObjectName(
        QString::fromLatin1(groups[g].Name.data(), qsizetype(groups[g].Name.size())));
    group->setGeometry(Place(place));
    Groups[g] = group;
    for (const TSetOptionRow* row : SetDialogOrder())
      if (GroupOf(*row) == g) {
        const std::size_t i = std::size_t(row - first);
        Boxes[i] = MakeCheck(group, *row, Place(layout.Boxes[i], place));
      }
    if (Place(place).contains(Place(layout.Sample))) MakeSample(group, place, layout);
    if (Place(place).contains(Place(layout.EditDictionary))) {
      bbEditDictionary = new QPushButton(Text("辞書を編集"), group);
      bbEditDictionary->setObjectName(QStringLiteral("bbEditDictionary"));
      bbEditDictionary->setGeometry(Place(layout.EditDictionary, place));
      connect(bbEditDictionary, &QPushButton::clicked, this, [this] {
        if (FEditDictionary) lblDictionary->setText(FromSjis(FEditDictionary()));
      });
      lblDictionary = new QLabel(group);
      lblDictionary->setObjectName(QStringLiteral("lblDictionary"));
      lblDictionary->setGeometry(Place(layout.DictionaryStatus, place));
      lblDictionary->setTextFormat(Qt::PlainText);
    }
  }

  bbOK = MakeButton(this, "bbOK", "設定する", Place(layout.Ok), QStyle::SP_DialogOkButton);
  bbOK->setDefault(true);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  bbCancel = MakeButton(this, "bbCancel", "キャンセル", Place(layout.Cancel),
                        QStyle::SP_DialogCancelButton);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

  // Key preview: the form sees every key before the control with the focus.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfoSet::SetDictionary(const std::string& sjis, std::function<std::string()> edit) {
  lblDictionary->setText(FromSjis(sjis));
  FEditDictionary = std::move(edit);
}

void TfoSet::MakeSample(QGroupBox* group, const TRect& in, const TSetLayout& layout) {
  Label1 = new QLabel(Text("フォント(下のリストをクリックしてください)"), group);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(Place(layout.FontLabel, in));

  lvSet = new QTreeWidget(group);
  lvSet->setObjectName(QStringLiteral("lvSet"));
  lvSet->setGeometry(Place(layout.Sample, in));
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
  for (int c = 0; c < 2; ++c)
    lvSet->header()->resizeSection(c, layout.SampleColumns[std::size_t(c)]);
  connect(lvSet->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { lvSetColumnClick(column); });
  lvSet->viewport()->installEventFilter(this);
}

void TfoSet::Arrange(const TSetLayout& layout) {
  // The controls inside the groups keep their places in either arrangement.
  for (std::size_t g = 0; g < Groups.size(); ++g) Groups[g]->setGeometry(Place(layout.Groups[g]));
  bbOK->setGeometry(Place(layout.Ok));
  bbCancel->setGeometry(Place(layout.Cancel));
  setFixedSize(layout.ClientWidth, layout.ClientHeight);
}

void TfoSet::setVisible(bool visible) {
  if (visible && !isVisible()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      // The arrangement the screen's work area has room for, less the
      // frame (estimated from the style before the first showing).
      QSize frameSize = frameGeometry().size() - size();
      if (frameSize.height() <= 0)
        frameSize = {0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this)};
      const QSize room = screen->availableGeometry().size() - frameSize;
      Arrange(SetDialogLayout(room.width(), room.height()));
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
