// The Win32 window's counterpart of main_window_qtbench, run under wine (or
// on Windows): the real main window, the lines of each file put on the
// clipboard, and the time from F5 or F6 to the filled list with its
// messages handled, beside the batch program's core on the same lines;
// best of three, in wall seconds and in the processor seconds of the
// process (its threads together; wine's server and the X server not
// counted), which a loaded machine moves less. The same form over a view
// that draws nothing ("form alone", the text handed over as CP932) and the
// clipboard's reading and conversion ("clipboard in") show what of the
// window's time is the skin's. Built only when asked:
//   cmake -S . -B build-win -DTAVRIN_BENCH=ON ... && ninja -C build-win main_window_winbench
//   build/bin/gen_lines_bench 1000000 > repeats.txt; seq 1 1000000 > distinct.txt
//   build-win/wine-run bin/main_window_winbench.exe repeats.txt distinct.txt
// The files hold CP932 lines, as gen_lines_bench writes them.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/batch_command.h"
#include "app/win32/main_window.h"
#include "settings/form_settings.h"
#include "tests/app/fake_main_view.h"
#include "util/beep.h"
#include "util/memory_setup.h"
#include "util/messages.h"
#include "util/win32/clipboard.h"
#include "util/win32/wide.h"

using namespace tavrin;

namespace {

// The best of three runs of action: wall seconds, and the process's
// processor seconds (all its threads), which a loaded machine moves less.
struct TFigures {
  double Wall = 1e9, Cpu = 1e9;
};

double ProcessCpu() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

TFigures Best(const std::function<void()>& action) {
  TFigures best;
  for (int run = 0; run < 3; ++run) {
    const double cpu = ProcessCpu();
    const auto t0 = std::chrono::steady_clock::now();
    action();
    best.Wall = std::min(
        best.Wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    best.Cpu = std::min(best.Cpu, ProcessCpu() - cpu);
  }
  return best;
}

// Handles every message waiting, paints included.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetUpMemory();
  if (argc < 2) {
    std::fprintf(stderr, "usage: main_window_winbench FILE...\n");
    return 2;
  }
  INITCOMMONCONTROLSEX icc{sizeof icc,
                           ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  TFormSettings::SetDefaultFileName(Narrow(temp) + "tavrin_winbench.ini");
  SetBeepHandler([](BeepSound) {});
  int messages = 0;
  SetMessageHandler([&](MessageKind, const std::string&) { return ++messages, true; });

  TfoMAIN window;
  if (!window.Create(SW_SHOW)) return 1;
  Pump();
  const auto press = [&](WPARAM key) {
    const MSG msg{window.Handle(), WM_KEYDOWN, key, 0, 0, {}};
    window.PreviewKey(msg);
    Pump();
    UpdateWindow(window.Handle());
  };

  // Made after the window, whose settings file it leaves alone: it sets a
  // fresh folder of its own as the default.
  FakeWindow alone;

  std::printf("%-8s %-20s %-14s %9s %9s %7s %9s %9s %7s\n", "lines", "file", "action", "window_s",
              "batch_s", "ratio", "w_cpu_s", "b_cpu_s", "ratio");
  for (int a = 1; a < argc; ++a) {
    std::ifstream file(argv[a], std::ios::binary);
    const std::string input((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (!WriteClipboardUnicode(window.Handle(), WideFromSjis(input))) return 1;
    const long lines = static_cast<long>(std::count(input.begin(), input.end(), '\n'));
    alone.view.Clipboard = input;
    TBatchOptions options;
    for (const bool similar : {true, false}) {
      options.Similar = similar;
      const TFigures batch = Best([&] { RunBatch(options, input); });
      const TFigures shown = Best([&] { press(similar ? VK_F5 : VK_F6); });
      std::printf("%-8ld %-20s %-14s %9.3f %9.3f %7.2f %9.3f %9.3f %7.2f\n", lines, argv[a],
                  similar ? "F5 similar" : "F6 all", shown.Wall, batch.Wall,
                  shown.Wall / batch.Wall, shown.Cpu, batch.Cpu, shown.Cpu / batch.Cpu);
      const TFigures form = Best([&] {
        if (similar)
          alone.form.sbExtractRuijiClick(TControl::foMAIN);
        else
          alone.form.sbGetAllDataClick(TControl::sbGetAllData);
      });
      std::printf("%-8ld %-20s %-14s %9.3f %9s %7s %9.3f\n", lines, argv[a], "  form alone",
                  form.Wall, "", "", form.Cpu);
      std::fflush(stdout);
    }
    // The part of it that is reading the clipboard and converting its text.
    std::size_t replaced = 0;
    const TFigures read = Best([&] {
      ReadClipboardUnicode(window.Handle(),
                           [&](std::wstring_view wide) { SjisFromWide(wide, &replaced); });
    });
    std::printf("%-8ld %-20s %-14s %9.3f %9s %7s %9.3f\n", lines, argv[a], "clipboard in",
                read.Wall, "", "", read.Cpu);
    std::printf("%-8ld %-20s %d rows listed, %d messages answered\n", lines, argv[a],
                int(window.List().Count()), messages);
  }
  DestroyWindow(window.Handle());
  return 0;
}
