// The main window driven through its seams on the offscreen platform:
// clipboard in, key or click, rows and status, clipboard out, messages, beeps.
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/qt/beep.h"
#include "util/qt/qsjis.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
std::string S(const char* utf8) { return cp932::Sjis(utf8); }

}  // namespace

class MainWindowFlowTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  std::unique_ptr<TfoMAIN> window;
  std::unique_ptr<ModalRecorder> modal;
  int beeps = 0;
  BeepHandler previousBeep;

  QStringList Rows() const {
    QStringList rows;
    const QAbstractItemModel* model = window->ResultModel();
    for (int r = 0; r < model->rowCount(); ++r)
      rows << model->index(r, 0).data().toString() + U("|") + model->index(r, 1).data().toString();
    return rows;
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->ResultView(), Qt::Key(key), modifiers);
  }
  // The auto-repeat of a held key.
  void Held(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(window->ResultView(), &press);
  }
  void Clip(const char* utf8) { QGuiApplication::clipboard()->setText(U(utf8)); }
  QString ClipText() const { return QGuiApplication::clipboard()->text(); }
  QToolButton* Button(const char* name) { return window->findChild<QToolButton*>(U(name)); }

 private Q_SLOTS:
  void init() {
    TAccIni::SetDefaultFileName((folder.path() + U("/tavrin.ini")).toStdString());
    modal = std::make_unique<ModalRecorder>();
    beeps = 0;
    previousBeep = SetBeepHandler([this](BeepSound) { ++beeps; });
    window = std::make_unique<TfoMAIN>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void cleanup() {
    window.reset();
    modal.reset();
    SetBeepHandler(previousBeep);
    TAccIni::SetDefaultFileName(std::nullopt);
  }

  // Two identical lines and a half-width twin: two rows, counts 2 and 1.
  void extractionListsTheVariantsWithTheirCounts() {
    Clip("ユニット\nﾕﾆｯﾄ\nユニット\n");
    Key(Qt::Key_F5);
    QCOMPARE(Rows(), (QStringList{U("ユニット|  2"), U("ﾕﾆｯﾄ|  1")}));
    QCOMPARE(window->StatusText(), U("全3個のデータの中から、2 種類の類字データを抽出しました"));
    QCOMPARE(beeps, 1);
  }

  // A repeated line without a partner is not listed; nothing similar at all
  // gives the empty-list summary.
  void repeatedLineWithoutPartnerIsNotListed() {
    Clip("りんご\nりんご\nみかん\n");
    Key(Qt::Key_F5);
    QVERIFY(Rows().isEmpty());
    QCOMPARE(window->StatusText(), U("表示するデータがありません"));
  }

  void f6ActsAsTheButton() {
    Clip("b\nａ\na\nb\n");
    Key(Qt::Key_F6);
    const QStringList byKey = Rows();
    const QString status = window->StatusText();
    QCOMPARE(byKey.size(), 3);
    Button("sbGetAllData")->click();
    QCOMPARE(Rows(), byKey);
    QCOMPARE(window->StatusText(), status);
    QCOMPARE(beeps, 2);
  }

  // No text on the clipboard is told apart from a text of blank lines.
  void noTextAndBlankTextAreDifferentMessages() {
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    Key(Qt::Key_F5);
    QCOMPARE(modal->Calls().size(), size_t(1));
    QCOMPARE(modal->Calls()[0].text,
             S("クリップボードに文字列をコピーした後、このボタンをクリックしてください"));
    modal->Clear();
    Clip("  \n\u3000\n\n");
    Key(Qt::Key_F6);
    QVERIFY(!modal->Calls().empty());
    QCOMPARE(modal->Calls()[0].kind, std::optional<MessageKind>(MessageKind::Error));
    QCOMPARE(modal->Calls()[0].text, S("文字列がみつかりません\rクリップボードに文字列をコピーした"
                                       "後、この処理を行ってください"));
  }

  // F7 copies every row, Enter only the selected ones; with no selection
  // Enter leaves the clipboard alone and says so.
  void copyAllAndSelected() {
    Clip("ユニット\nﾕﾆｯﾄ\nユニット\nテスト\nてすと\n");
    Key(Qt::Key_F5);
    QCOMPARE(Rows().size(), 4);
    window->ResultView()->clearSelection();
    Key(Qt::Key_F7);
    QCOMPARE(ClipText(), U("ユニット\t2\r\nﾕﾆｯﾄ\t1\r\nてすと\t1\r\nテスト\t1\r\n"));

    modal->Clear();
    Clip("keep me");
    Key(Qt::Key_Return);
    QCOMPARE(ClipText(), U("keep me"));
    QCOMPARE(modal->Calls().size(), size_t(1));
    QCOMPARE(modal->Calls()[0].kind, std::optional<MessageKind>(MessageKind::Information));
    QCOMPARE(modal->Calls()[0].text, S("選択されたデータがありません"));

    QItemSelectionModel* selection = window->ResultView()->selectionModel();
    const QAbstractItemModel* model = window->ResultModel();
    selection->select(model->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(model->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(ClipText(), U("ﾕﾆｯﾄ\t1\r\nテスト\t1\r\n"));
    Key(Qt::Key_F7);  // all rows, whatever is selected
    QCOMPARE(ClipText().count(U("\r\n")), 4);
  }

  // Delete removes the selected rows from the list.
  void deleteRemovesTheSelectedRows() {
    Clip("ユニット\nﾕﾆｯﾄ\nテスト\nてすと\n");
    Key(Qt::Key_F5);
    window->ResultView()->selectionModel()->select(
        window->ResultModel()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Key(Qt::Key_Delete);
    QCOMPARE(Rows().size(), 3);
    QVERIFY(!Rows().contains(U("ユニット|  1")));
    // The window hands the key table its repeats: F5's reruns nothing,
    // Delete's deletes.
    Clip("other\n");
    window->ResultView()->selectionModel()->select(
        window->ResultModel()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Held(Qt::Key_F5);
    QCOMPARE(Rows().size(), 3);
    Held(Qt::Key_Delete);
    QCOMPARE(Rows().size(), 2);
  }

  // A group's canonical row is bold, a variant's tool-tip names its
  // canonical spelling, the kinds and the code points, and the current row
  // tints the rows of its group only.
  void groupsAreShown() {
    Clip("ﾕﾆｯﾄ\nユニット\nユニット\nテスト\nてすと\n");
    Key(Qt::Key_F5);
    QCOMPARE(Rows(),
             (QStringList{U("ユニット|  2"), U("ﾕﾆｯﾄ|  1"), U("てすと|  1"), U("テスト|  1")}));
    const QAbstractItemModel* model = window->ResultModel();
    const auto bold = [&](int row) {
      return model->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
    };
    // てすと sorts first, but テスト occurred first: the tie goes to it.
    QCOMPARE((QList<bool>{bold(0), bold(1), bold(2), bold(3)}),
             (QList<bool>{true, false, false, true}));
    QCOMPARE(model->index(1, 0).data(Qt::ToolTipRole).toString(),
             U("正規の表記: ユニット\n違い: 全角/半角\n「ﾕ」 U+FF95 → 「ユ」 U+30E6\n"
               "「ﾆ」 U+FF86 → 「ニ」 U+30CB\n「ｯ」 U+FF6F → 「ッ」 U+30C3\n「ﾄ」 U+FF84 → 「ト」 "
               "U+30C8"));

    TResultView* view = window->ResultView();
    view->setCurrentIndex(model->index(1, 0));
    view->resize(400, 200);
    QImage image = view->viewport()->grab().toImage();
    // Past the short texts, inside the first column.
    const auto at = [&](int row) {
      return image.pixelColor(image.width() - 5,
                              view->visualRect(model->index(row, 0)).center().y());
    };
    QVERIFY(at(0) != at(2));  // the group's other row is tinted, another group's is not
    QCOMPARE(at(2), at(3));
    // The tint follows the current row while it is not selected, too.
    const QColor tint = at(0);
    view->selectionModel()->clearSelection();
    image = view->viewport()->grab().toImage();
    QCOMPARE(at(0), tint);
  }

  // F8 and F9 copy the normalized input and the map of what [類字抽出]
  // found; after [全データ] there is nothing to copy.
  void normalizedTextAndMap() {
    Clip("ﾕﾆｯﾄ\r\nユニット\rユニット");
    Key(Qt::Key_F5);
    modal->Clear();
    Key(Qt::Key_F8);
    QCOMPARE(ClipText(), U("ユニット\r\nユニット\rユニット"));
    Key(Qt::Key_F9);
    QCOMPARE(ClipText(), U("ﾕﾆｯﾄ\tユニット\t1\r\n"));
    QCOMPARE(modal->Calls().size(), size_t(2));
    QCOMPARE(modal->Calls()[0].text, S("正規化したデータをクリップボードにコピーしました"));
    QCOMPARE(beeps, 3);
    Clip("ﾕﾆｯﾄ\nユニット\n");
    Key(Qt::Key_F6);
    modal->Clear();
    Clip("keep me");
    Key(Qt::Key_F9);
    QCOMPARE(ClipText(), U("keep me"));
    QCOMPARE(modal->Calls()[0].text,
             S("コピーする文字列を表示させた後、このボタンをクリックしてください"));
  }

  // The options and the column widths reach the settings file at closing.
  void closingSavesTheOptions() {
    window->FCopyCount = false;
    window->ResultView()->horizontalHeader()->resizeSection(0, 300);
    window->close();
    window.reset();
    window = std::make_unique<TfoMAIN>();
    QCOMPARE(window->FCopyCount, false);
    QCOMPARE(window->ResultView()->horizontalHeader()->sectionSize(0), 300);
  }
};

QTEST_MAIN(MainWindowFlowTest)
#include "main_window_flow_qttest.moc"
