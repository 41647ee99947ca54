// The window's design: every component at its place and size, named after
// the design so tests and the settings find them by objectName.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_gradients.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "app/qt/window_resources.h"
#include "settings/qt/font_dialog.h"
#include "util/cp932.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/gradation_exprs.h"

// The pictures live in this library's resources, which a static library
// must register itself.
static void InitWindowResources() { Q_INIT_RESOURCE(tavrin); }

namespace tavrin {
namespace {

QString Text(const char* utf8) { return FromSjis(cp932::Sjis(utf8)); }

// The window's gradient panel `number` (1 to 5) with its fill direction and
// stops; the first show switches it on, and a press on it drags the window.
TGradationExprs* MakeGradient(QWidget* owner, QWidget* parent, int number) {
  const TGradientDesign& design = MainGradients()[std::size_t(number - 1)];
  auto* panel = new TGradationExprs(owner, parent);
  panel->setObjectName(QString::fromLatin1(design.name));
  panel->SetFillGradationMode(design.mode);
  panel->SetStretch(true);  // every panel stretches its picture to its size
  panel->Colors().SetColors(design.stops);
  return panel;
}

// Status panel 1: a text that does not fit is drawn shortened with "…"; the
// whole text stays the label's text and is its tool-tip.
class TStatusPanel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(indent() > 0 ? indent() : 2, 0, -2, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
  }
};

QFont DesignFont() {
  QFont font(QStringLiteral("Meiryo UI"));
  font.setPixelSize(19);
  return font;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QString& resource, QRect geometry) {
  auto* image = new QLabel(parent);
  image->setObjectName(QString::fromLatin1(name));
  image->setPixmap(QPixmap(resource));
  image->setGeometry(geometry);
  image->setAttribute(Qt::WA_TranslucentBackground);
  return image;
}

}  // namespace

void TfoMAIN::BuildComponents() {
  InitWindowResources();
  setObjectName(QStringLiteral("foMAIN"));
  setWindowTitle(QStringLiteral("Tavrin"));
  setWindowIcon(QIcon(QString::fromLatin1(kWindowIcon)));
  setFont(DesignFont());
  setMinimumSize(200, 150);

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("foMAINClient"));
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  for (const char* resource : kRowImages) IL201905.emplace_back(QString::fromLatin1(resource));

  BuildToolBar();
  BuildClient();
  BuildStatusBar();
  BuildPopupMenu();
  column->addWidget(pnToolBar);
  column->addWidget(pnClient, 1);

  dlgFont = new TFontDialog(this);
  dlgFont->hide();

  // Hidden test controls of debug mode.
  Button1 = new QPushButton(QStringLiteral("LoadFromTestFile"), pnClient);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(24, 24, 200, 32);
  Button1->hide();
  Button2 = new QPushButton(QStringLiteral("TUniqueManager.FSameList"), pnClient);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(232, 24, 240, 32);
  Button2->hide();
  Memo1 = new QPlainTextEdit(pnClient);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(24, 64, 448, 150);
  Memo1->hide();

  // Design size: the client of the form holds the tool bar (77), the
  // client panel (240) and the status bar (30), 637 wide.
  resize(637, 77 + 240 + 30);
}

void TfoMAIN::BuildToolBar() {
  pnToolBar = new QWidget(this);
  pnToolBar->setObjectName(QStringLiteral("pnToolBar"));
  pnToolBar->setFixedHeight(77);
  pnToolBar->setAutoFillBackground(true);
  QPalette back = pnToolBar->palette();
  back.setColor(QPalette::Window, QColor(0, 128, 192));
  pnToolBar->setPalette(back);
  auto* fill = new QVBoxLayout(pnToolBar);
  fill->setContentsMargins(0, 0, 0, 0);
  GradationExprs1 = MakeGradient(this, pnToolBar, 1);
  fill->addWidget(GradationExprs1);

  struct Button {
    QToolButton** field;
    const char* name;
    int left;
    const char* caption;
    const char* glyph;
  };
  const Button buttons[] = {
      {&sbClose, "sbClose", 4, "閉じる", kGlyphClose},
      {&sbExtractRuiji, "sbExtractRuiji", 90, "類字抽出", kGlyphExtract},
      {&sbGetAllData, "sbGetAllData", 178, "全データ", kGlyphAllData},
      {&sbCopyAll, "sbCopyAll", 266, "コピー", kGlyphCopy},
      {&sbSwFormStyle, "sbSwFormStyle", 354, "前面表示", kGlyphStayOnTop},
      {&sbSet, "sbSet", 442, "設定", kGlyphSettings},
  };
  QFont font = DesignFont();
  for (const Button& b : buttons) {
    auto* button = new QToolButton(GradationExprs1);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setGeometry(b.left, 4, 90, 69);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setText(Text(b.caption));
    button->setIcon(QIcon(QString::fromLatin1(b.glyph)));
    button->setIconSize(QSize(32, 32));
    button->setFont(font);
    QPalette p = button->palette();
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::WindowText, Qt::white);
    button->setPalette(p);
    // The style's own hover and pressed panels are near white; dark ones
    // keep the white caption readable on the gradient in every state.
    button->setStyleSheet(QStringLiteral(
        "QToolButton { color: white; background: transparent; border: 1px solid transparent;"
        " border-radius: 3px; }"
        "QToolButton:hover { background: rgba(0, 0, 0, 120); border-color: rgba(255, 255, 255, 140); }"
        "QToolButton:pressed, QToolButton:checked { background: rgba(0, 0, 0, 180);"
        " border-color: white; }"));
    *b.field = button;
  }

  imgHelp = MakeImage(GradationExprs1, "imgHelp", QString::fromLatin1(kImageHelp),
                      QRect(535, 45, 24, 24));
  imgHelp->setCursor(Qt::PointingHandCursor);
  imgVersion = MakeImage(GradationExprs1, "imgVersion", QString::fromLatin1(kImageVersion),
                         QRect(563, 46, 24, 24));
  imgVersion->setCursor(Qt::PointingHandCursor);
  img1 = MakeImage(GradationExprs1, "img1", QString::fromLatin1(kImage1), QRect(0, 0, 32, 32));
  img2 = MakeImage(GradationExprs1, "img2", QString::fromLatin1(kGlyphNormal), QRect(0, 0, 32, 32));
  img3 = MakeImage(GradationExprs1, "img3", QString::fromLatin1(kGlyphStayOnTop),
                   QRect(0, 0, 32, 32));
  for (QLabel* image : {img1, img2, img3}) image->hide();
}

void TfoMAIN::BuildClient() {
  pnClient = new QWidget(this);
  pnClient->setObjectName(QStringLiteral("pnClient"));
  pnClient->resize(637, 240);
  GradationExprs4 = MakeGradient(this, pnClient, 4);
  GradationExprs5 = MakeGradient(this, pnClient, 5);
  GradationExprs2 = MakeGradient(this, pnClient, 2);
  GradationExprs3 = MakeGradient(this, pnClient, 3);

  lvResult = new TResultView(pnClient);
  lvResult->setObjectName(QStringLiteral("lvResult"));
  FModel = new TResultModel(List(), lvResult);
  FModel->setObjectName(QStringLiteral("lvResultModel"));
  FModel->SetImages(IL201905);
  lvResult->setModel(FModel);
  lvResult->setFont(DesignFont());
  lvResult->setIconSize(QSize(16, 16));
  lvResult->setContextMenuPolicy(Qt::CustomContextMenu);
  lvResult->header()->resizeSection(0, 480);
  lvResult->header()->resizeSection(1, 65);
  lvResult->setGeometry(6, 8, 623, 227);
  lvResult->raise();  // over the strips: only their margins show
  pnClient->installEventFilter(this);
  LayoutClient();
}

void TfoMAIN::LayoutClient() {
  const int w = pnClient->width();
  const int h = pnClient->height();
  GradationExprs4->setGeometry(0, 0, w, 17);
  GradationExprs3->setGeometry(0, h - 19, w, 19);
  GradationExprs5->setGeometry(0, 17, 17, std::max(0, h - 17 - 19));
  GradationExprs2->setGeometry(w - 17, 17, 17, std::max(0, h - 17 - 19));
  // Left and top anchors from the design; right and bottom once shown, so
  // the margins 6, 8, 8 and 5 stay.
  if (FListAnchored) lvResult->setGeometry(6, 8, std::max(0, w - 14), std::max(0, h - 13));
}

void TfoMAIN::BuildStatusBar() {
  sb = new QStatusBar(this);
  sb->setObjectName(QStringLiteral("sb"));
  sb->setFixedHeight(30);
  sb->setFont(font());
  sbPanel0 = new QLabel(Text("情報"), sb);
  sbPanel0->setObjectName(QStringLiteral("sbPanel0"));
  sbPanel0->setFixedWidth(50);
  sbPanel1 = new TStatusPanel(sb);
  sbPanel1->setObjectName(QStringLiteral("sbPanel1"));
  sbPanel1->setMinimumWidth(1);  // long texts are cut, never widen the window
  for (QLabel* panel : {sbPanel0, sbPanel1}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  SetStatusText(Text("文字列をクリップボードにコピーした後、[類字抽出]ボタンをクリックしてください"));
  sb->addWidget(sbPanel0);
  sb->addWidget(sbPanel1, 1);
  setStatusBar(sb);
}

void TfoMAIN::SetStatusText(const QString& text) {
  sbPanel1->setText(text);
  sbPanel1->setToolTip(text);
}

void TfoMAIN::BuildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  // No accelerator letters: captions are shown as they are.
  auto add = [this](const char* name, const char* caption) {
    QAction* action = PopupMenu1->addAction(Text(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  pmCopyAll = add("pmCopyAll", "全てのデータをクリップボードにコピーする");
  pmCopySelect = add("pmCopySelect", "選択したデータをクリップボードにコピーする");
  N2 = PopupMenu1->addSeparator();
  N2->setObjectName(QStringLiteral("N2"));
  pmDelete = add("pmDelete", "選択したデータをリストから削除する");
  N3 = PopupMenu1->addSeparator();
  N3->setObjectName(QStringLiteral("N3"));
  pmCopyNormalized = add("pmCopyNormalized", "正規化してコピー");
  pmCopyMap = add("pmCopyMap", "置換表をコピー");
  N4 = PopupMenu1->addSeparator();
  N4->setObjectName(QStringLiteral("N4"));
  pmMakeCanonical = add("pmMakeCanonical", "これを正規の表記にする");
  pmLeaveGroup = add("pmLeaveGroup", "この組から外す");
  pmJoinSelected = add("pmJoinSelected", "選んだ行を一つの組にする");
  pmUndoDictionary = add("pmUndoDictionary", "辞書の変更を元に戻す");
  // The keys are the window's (FormKeyDown); the menu only shows them.
  for (const TMainForm::TMenuKey& key : kMenuKeys) {
    QAction* action = ControlAction(key.Item);
    action->setText(action->text() + QLatin1Char('\t') + QString::fromLatin1(MenuKeyText(key.Item)));
  }
}

}  // namespace tavrin
