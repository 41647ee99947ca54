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
#include <array>

#include "app/main_gradients.h"
#include "app/main_layout.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "app/qt/window_resources.h"
#include "settings/qt/font_dialog.h"
#include "util/cp932.h"
#include "util/dpi.h"
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
  font.setPixelSize(MainSizes(kDesignDpi).FormFont);
  return font;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QString& resource) {
  auto* image = new QLabel(parent);
  image->setObjectName(QString::fromLatin1(name));
  image->setPixmap(QPixmap(resource));
  image->setAttribute(Qt::WA_TranslucentBackground);
  return image;
}

// A rectangle of the window's client area, for a widget whose parent
// stands at `origin` in it.
void Place(QWidget* widget, const TRect& r, const TRect& origin) {
  widget->setGeometry(r.Left - origin.Left, r.Top - origin.Top, r.Width, r.Height);
}

}  // namespace

void TfoMAIN::BuildComponents() {
  InitWindowResources();
  setObjectName(QStringLiteral("foMAIN"));
  setWindowTitle(QStringLiteral("Tavrin"));
  setWindowIcon(QIcon(QString::fromLatin1(kWindowIcon)));
  setFont(DesignFont());
  setMinimumSize(kMinFormWidth, kMinFormHeight);

  // The panels are placed by LayoutClient, as the window's client is sized.
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("foMAINClient"));
  setCentralWidget(central);
  central->installEventFilter(this);

  for (const char* resource : kRowImages) IL201905.emplace_back(QString::fromLatin1(resource));

  BuildToolBar();
  BuildClient();
  BuildStatusBar();
  BuildPopupMenu();

  dlgFont = new TFontDialog(this);
  dlgFont->hide();

  // Hidden test controls of debug mode.
  Button1 = new QPushButton(QString::fromLatin1(kButton1Caption), pnClient);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->hide();
  Button2 = new QPushButton(QString::fromLatin1(kButton2Caption), pnClient);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->hide();
  Memo1 = new QPlainTextEdit(pnClient);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->hide();

  resize(kDesignClientWidth, kDesignClientHeight);
  LayoutClient();
}

void TfoMAIN::BuildToolBar() {
  pnToolBar = new QWidget(centralWidget());
  pnToolBar->setObjectName(QStringLiteral("pnToolBar"));
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
    const char* caption;
    const char* glyph;
  };
  // In the order of TMainLayout::Buttons.
  const Button buttons[] = {
      {&sbClose, "sbClose", "閉じる", kGlyphClose},
      {&sbExtractRuiji, "sbExtractRuiji", "類字抽出", kGlyphExtract},
      {&sbGetAllData, "sbGetAllData", "全データ", kGlyphAllData},
      {&sbCopyAll, "sbCopyAll", "コピー", kGlyphCopy},
      {&sbSwFormStyle, "sbSwFormStyle", "前面表示", kGlyphStayOnTop},
      {&sbSet, "sbSet", "設定", kGlyphSettings},
  };
  QFont font = DesignFont();
  const int glyph = MainSizes(kDesignDpi).Glyph;
  for (const Button& b : buttons) {
    auto* button = new QToolButton(GradationExprs1);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setText(Text(b.caption));
    button->setIcon(QIcon(QString::fromLatin1(b.glyph)));
    button->setIconSize(QSize(glyph, glyph));
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
        "QToolButton:hover { background: rgba(0, 0, 0, 120); border-color: rgba(255, 255, 255, "
        "140); }"
        "QToolButton:pressed, QToolButton:checked { background: rgba(0, 0, 0, 180);"
        " border-color: white; }"));
    *b.field = button;
  }

  imgHelp = MakeImage(GradationExprs1, "imgHelp", QString::fromLatin1(kImageHelp));
  imgHelp->setCursor(Qt::PointingHandCursor);
  imgVersion = MakeImage(GradationExprs1, "imgVersion", QString::fromLatin1(kImageVersion));
  imgVersion->setCursor(Qt::PointingHandCursor);
  img1 = MakeImage(GradationExprs1, "img1", QString::fromLatin1(kImage1));
  img2 = MakeImage(GradationExprs1, "img2", QString::fromLatin1(kGlyphNormal));
  img3 = MakeImage(GradationExprs1, "img3", QString::fromLatin1(kGlyphStayOnTop));
  for (QLabel* image : {img1, img2, img3}) {
    image->setGeometry(0, 0, glyph, glyph);
    image->hide();
  }
}

void TfoMAIN::BuildClient() {
  pnClient = new QWidget(centralWidget());
  pnClient->setObjectName(QStringLiteral("pnClient"));
  // The strips overlap at the corners; each made later stands above, in
  // the order the Windows skin's stack gives them: 2 over 3 over 4 over 5.
  GradationExprs5 = MakeGradient(this, pnClient, 5);
  GradationExprs4 = MakeGradient(this, pnClient, 4);
  GradationExprs3 = MakeGradient(this, pnClient, 3);
  GradationExprs2 = MakeGradient(this, pnClient, 2);

  lvResult = new TResultView(pnClient);
  lvResult->setObjectName(QStringLiteral("lvResult"));
  FModel = new TResultModel(List(), lvResult);
  FModel->setObjectName(QStringLiteral("lvResultModel"));
  FModel->SetImages(IL201905);
  lvResult->setModel(FModel);
  lvResult->setFont(DesignFont());
  const int icon = MainSizes(kDesignDpi).RowIcon;
  lvResult->setIconSize(QSize(icon, icon));
  lvResult->setContextMenuPolicy(Qt::CustomContextMenu);
  lvResult->horizontalHeader()->resizeSection(0, kDesignColumnWidths[0]);
  lvResult->horizontalHeader()->resizeSection(1, kDesignColumnWidths[1]);
  lvResult->raise();  // over the strips: only their margins show
}

void TfoMAIN::LayoutClient() {
  const QWidget* client = centralWidget();
  const int status = sb->height();
  const TMainLayout l = MainLayout(client->width(), client->height() + status, status, kDesignDpi);
  const TRect window{};
  Place(pnToolBar, l.ToolBar, window);
  const std::array<QToolButton*, 6> order = {sbClose,   sbExtractRuiji, sbGetAllData,
                                             sbCopyAll, sbSwFormStyle,  sbSet};
  for (std::size_t i = 0; i < order.size(); ++i) Place(order[i], l.Buttons[i], l.ToolBar);
  Place(imgHelp, l.Help, l.ToolBar);
  Place(imgVersion, l.Version, l.ToolBar);
  Place(pnClient, l.Client, window);
  Place(GradationExprs4, l.StripTop, l.Client);
  Place(GradationExprs3, l.StripBottom, l.Client);
  Place(GradationExprs5, l.StripLeft, l.Client);
  Place(GradationExprs2, l.StripRight, l.Client);
  Place(lvResult, l.List, l.Client);
  Place(Button1, l.Button1, l.Client);
  Place(Button2, l.Button2, l.Client);
  Place(Memo1, l.Memo1, l.Client);
  sbPanel0->setFixedWidth(l.StatusLabelWidth);
}

void TfoMAIN::BuildStatusBar() {
  sb = new QStatusBar(this);
  sb->setObjectName(QStringLiteral("sb"));
  sb->setFixedHeight(kDesignStatusHeight);
  sb->setFont(font());
  sbPanel0 = new QLabel(Text("情報"), sb);
  sbPanel0->setObjectName(QStringLiteral("sbPanel0"));
  sbPanel1 = new TStatusPanel(sb);
  sbPanel1->setObjectName(QStringLiteral("sbPanel1"));
  sbPanel1->setMinimumWidth(1);  // long texts are cut, never widen the window
  for (QLabel* panel : {sbPanel0, sbPanel1}) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  SetStatusText(
      Text("文字列をクリップボードにコピーした後、[類字抽出]ボタンをクリックしてください"));
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
    action->setText(action->text() + QLatin1Char('\t') +
                    QString::fromLatin1(MenuKeyText(key.Item)));
  }
}

}  // namespace tavrin
