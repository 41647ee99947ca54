// Drives the real main window on the offscreen platform with generated lines
// (gen_lines_bench beside this program): the time from the key press to the
// filled list for F5 and F6, and for a click on each column header, beside
// the batch program's core on the same input.
// Usage: QT_QPA_PLATFORM=offscreen main_window_qtbench [LINES...]
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/batch_command.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "util/memory_setup.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/qt/beep.h"
#include "widgets/qt/modal_recorder.h"
#include "widgets/qt/gradation_exprs.h"

using namespace tavrin;

namespace {

constexpr int kRuns = 3;

// The best of kRuns timings of action, in seconds.
double Best(const std::function<void()>& action) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    QElapsedTimer timer;
    timer.start();
    action();
    best = std::min(best, timer.nsecsElapsed() / 1e9);
  }
  return best;
}

std::string Generate(long lines) {
  QProcess gen;
  gen.start(QCoreApplication::applicationDirPath() + QStringLiteral("/gen_lines_bench"),
            {QString::number(lines)});
  if (!gen.waitForFinished(-1) || gen.exitCode() != 0) qFatal("gen_lines_bench failed");
  const QByteArray out = gen.readAllStandardOutput();
  return std::string(out.constData(), static_cast<std::size_t>(out.size()));
}

}  // namespace

int main(int argc, char** argv) {
  tavrin::SetUpMemory();
  QApplication app(argc, argv);
  std::vector<long> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
  if (sizes.empty()) sizes = {100000, 1000000};

  QTemporaryDir folder;
  TGradationExprs::SetPictureFileFolder(folder.path().toStdString() + "/");
  TAccIni::SetDefaultFileName((folder.path() + QStringLiteral("/tavrin.ini")).toStdString());
  SetBeepHandler([](BeepSound) {});
  ModalRecorder modal;

  TfoMAIN window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) qFatal("the window was not shown");
  QApplication::setActiveWindow(&window);
  TResultView& view = *window.ResultView();
  view.setFocus();
  QHeaderView* header = view.header();

  const auto press = [&](Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents();  // the list paints its rows
  };
  const auto clickHeader = [&](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    QCoreApplication::processEvents();
  };

  std::printf("%-8s %-22s %9s %9s %7s\n", "lines", "action", "window_s", "batch_s", "ratio");
  for (const long n : sizes) {
    const std::string input = Generate(n);
    QGuiApplication::clipboard()->setText(QString::fromStdString(cp932::ToUtf8(input)));

    TBatchOptions options;
    const auto batch = [&](bool similar) {
      options.Similar = similar;
      return Best([&] { RunBatch(options, input); });
    };
    const double batchSimilar = batch(true), batchAll = batch(false);
    const auto row = [&](const char* action, double window, double reference) {
      std::printf("%-8ld %-22s %9.3f %9.3f %7.2f\n", n, action, window, reference, window / reference);
      std::fflush(stdout);
    };

    row("F5 [類字抽出]", Best([&] { press(Qt::Key_F5); }), batchSimilar);
    const double all = Best([&] { press(Qt::Key_F6); });
    row("F6 [全データ]", all, batchAll);
    const int rows = window.ResultModel()->Count();
    row("sort by text", Best([&] { clickHeader(0); }), batchAll);
    row("sort by count", Best([&] { clickHeader(1); }), batchAll);
    std::printf("%-8ld %d rows listed, %zu dialogs answered\n", n, rows, modal.Calls().size());
  }
  return 0;
}
