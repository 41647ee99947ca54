// Drives the real main window on the offscreen platform with generated lines:
// the time from the key press to the filled list for F5 and F6, and for a
// click on each column header, beside the batch program's core on the same
// input, with the process's peak memory during each, in wall seconds and in
// the processor seconds of the process (all its threads), which the load of
// a shared machine moves less. The repeat-heavy words
// of gen_lines_bench (beside this program) run at every size given; at the
// largest, also all distinct lines ("1" to N, as seq writes them) and the
// generator's mostly distinct codes, for F5 and F6. A shape named first runs
// alone, at every size given (for profiling one).
// Usage: QT_QPA_PLATFORM=offscreen main_window_qtbench [repeats|distinct|codes] [LINES...]
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>

#include "app/batch_command.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "cpu_clock.h"
#include "settings/qt/acc_ini.h"
#include "util/cp932.h"
#include "util/memory_setup.h"
#include "util/qt/beep.h"
#include "widgets/qt/gradation_exprs.h"
#include "widgets/qt/modal_recorder.h"

using namespace tavrin;

namespace {

constexpr int kRuns = 3;

struct Seconds {
  double wall = 1e9, cpu = 1e9;
};

double ProcessCpu() { return tavrin::bench::ProcessCpuMs() / 1e3; }

// The best of kRuns timings of action: wall seconds, and processor seconds.
Seconds Best(const std::function<void()>& action) {
  Seconds best;
  for (int run = 0; run < kRuns; ++run) {
    const double cpu = ProcessCpu();
    QElapsedTimer timer;
    timer.start();
    action();
    best.wall = std::min(best.wall, timer.nsecsElapsed() / 1e9);
    best.cpu = std::min(best.cpu, ProcessCpu() - cpu);
  }
  return best;
}

// Resets the peak resident size to the present one; PeakMb then gives the
// peak since.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double PeakMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return 0;
}

enum class Shape { Repeats, Distinct, Codes };

std::string Generate(Shape shape, long lines) {
  if (shape == Shape::Distinct) {
    std::string out;
    for (long i = 1; i <= lines; ++i) out += std::to_string(i) + "\r\n";
    return out;
  }
  QStringList args{QString::number(lines)};
  if (shape == Shape::Codes) args.prepend(QStringLiteral("codes"));
  QProcess gen;
  gen.start(QCoreApplication::applicationDirPath() + QStringLiteral("/gen_lines_bench"), args);
  if (!gen.waitForFinished(-1) || gen.exitCode() != 0) qFatal("gen_lines_bench failed");
  const QByteArray out = gen.readAllStandardOutput();
  return std::string(out.constData(), static_cast<std::size_t>(out.size()));
}

}  // namespace

int main(int argc, char** argv) {
  tavrin::SetUpMemory();
  QApplication app(argc, argv);
  const std::vector<std::pair<Shape, const char*>> shapes = {
      {Shape::Repeats, "repeats"}, {Shape::Distinct, "distinct"}, {Shape::Codes, "codes"}};
  int first = 1;
  const char* only = nullptr;
  for (const auto& [shape, name] : shapes) {
    if (argc > 1 && std::strcmp(argv[1], name) == 0) only = name, first = 2;
  }
  std::vector<long> sizes;
  for (int i = first; i < argc; ++i) sizes.push_back(std::atol(argv[i]));
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
  QHeaderView* header = view.horizontalHeader();

  const auto press = [&](Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents();  // the list paints its rows
  };
  const auto clickHeader = [&](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    QCoreApplication::processEvents();
  };

  std::printf("%-8s %-9s %-22s %9s %9s %7s %9s %9s %7s %9s %9s\n", "lines", "shape", "action",
              "window_s", "batch_s", "ratio", "w_cpu_s", "b_cpu_s", "ratio", "window_MB",
              "batch_MB");
  const auto measure = [&](Shape shape, const char* name, long n, bool sorts) {
    const std::string input = Generate(shape, n);
    QGuiApplication::clipboard()->setText(QString::fromStdString(cp932::ToUtf8(input)));

    TBatchOptions options;
    struct Figures {
      Seconds seconds;
      double peakMb;
    };
    // The best time of the runs and the peak memory over them.
    const auto timed = [&](const std::function<void()>& action) {
      ResetPeak();
      const Seconds seconds = Best(action);
      return Figures{seconds, PeakMb()};
    };
    const auto batch = [&](bool similar) {
      options.Similar = similar;
      return timed([&] { RunBatch(options, input); });
    };
    const Figures batchSimilar = batch(true), batchAll = batch(false);
    const auto row = [&](const char* action, Figures window, Figures reference) {
      // Padded to 22 columns: each kanji of a caption is 3 bytes, 2 columns.
      int columns = 0;
      for (const char* p = action; *p; ++p)
        columns += (*p & 0xC0) == 0x80 ? 0 : (*p & 0x80) ? 2 : 1;
      const Seconds w = window.seconds, b = reference.seconds;
      std::printf("%-8ld %-9s %s%*s %9.3f %9.3f %7.2f %9.3f %9.3f %7.2f %9.0f %9.0f\n", n, name,
                  action, std::max(0, 22 - columns), "", w.wall, b.wall, w.wall / b.wall, w.cpu,
                  b.cpu, w.cpu / b.cpu, window.peakMb, reference.peakMb);
      std::fflush(stdout);
    };

    row("F5 [類字抽出]", timed([&] { press(Qt::Key_F5); }), batchSimilar);
    row("F6 [全データ]", timed([&] { press(Qt::Key_F6); }), batchAll);
    const int rows = window.ResultModel()->Count();
    if (sorts) {
      row("sort by text", timed([&] { clickHeader(0); }), batchAll);
      row("sort by count", timed([&] { clickHeader(1); }), batchAll);
    }
    std::printf("%-8ld %-9s %d rows listed, %zu dialogs answered\n", n, name, rows,
                modal.Calls().size());
  };
  const long largest = *std::max_element(sizes.begin(), sizes.end());
  for (const auto& [shape, name] : shapes) {
    if (only) {
      if (std::strcmp(name, only) == 0)
        for (const long n : sizes) measure(shape, name, n, shape == Shape::Repeats);
    } else if (shape == Shape::Repeats) {
      for (const long n : sizes) measure(shape, name, n, true);
    } else {
      measure(shape, name, largest, false);
    }
  }
  return 0;
}
