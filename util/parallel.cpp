#include "util/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace tavrin {
namespace {

std::atomic<unsigned> fixedWidth{0};

}  // namespace

unsigned ParallelWidth() {
  const unsigned fixed = fixedWidth.load(std::memory_order_relaxed);
  if (fixed != 0) return fixed;
  return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

void SetParallelWidth(unsigned width) { fixedWidth.store(width, std::memory_order_relaxed); }

void RunParts(unsigned Parts, const std::function<void(unsigned)>& Body) {
  if (Parts == 0) return;
  std::vector<std::exception_ptr> failed(Parts);
  const auto run = [&](unsigned part) {
    try {
      Body(part);
    } catch (...) {
      failed[part] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  std::vector<unsigned> unstarted;
  threads.reserve(Parts - 1);
  for (unsigned part = 1; part < Parts; ++part) {
    try {
      threads.emplace_back(run, part);
    } catch (const std::system_error&) {
      unstarted.push_back(part);
    }
  }
  run(0);
  for (unsigned part : unstarted) run(part);
  for (std::thread& t : threads) t.join();
  for (const std::exception_ptr& e : failed) {
    if (e) std::rethrow_exception(e);
  }
}

}  // namespace tavrin
