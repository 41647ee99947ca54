#include "util/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tavrin {
namespace {

std::atomic<unsigned> fixedWidth{0};

// The threads RunParts hands parts to: started as first needed, then kept
// for the life of the process, so a job of many short rounds (the batch's
// output runs one per few thousand rows) starts no thread per round. One
// job runs on it at a time; the parts take the next part number in turn.
class TPool {
 public:
  // Runs job(0) on the calling thread and the other parts on the pool's
  // threads (or here, when none is free); false when the pool is busy with
  // another caller's job or the caller is a part itself.
  bool Run(unsigned parts, const std::function<void(unsigned)>& job) {
    if (inPart) return false;
    std::unique_lock<std::mutex> use(FUse, std::try_to_lock);
    if (!use.owns_lock()) return false;
    {
      std::lock_guard<std::mutex> lock(FLock);
      while (FThreads.size() < parts - 1) {
        try {
          FThreads.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
          break;  // fewer threads: the caller takes what is left
        }
      }
      FJob = &job;
      FParts = parts;
      FNext = 1;
      FLeft = parts - 1;
    }
    FWake.notify_all();
    inPart = true;
    job(0);
    std::unique_lock<std::mutex> lock(FLock);
    while (FNext < FParts) {
      const unsigned part = FNext++;
      lock.unlock();
      job(part);
      lock.lock();
      --FLeft;
    }
    FDone.wait(lock, [this] { return FLeft == 0; });
    FJob = nullptr;
    inPart = false;
    return true;
  }

 private:
  void Serve() {
    inPart = true;
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
      FWake.wait(lock, [this] { return FJob != nullptr && FNext < FParts; });
      const unsigned part = FNext++;
      const std::function<void(unsigned)>& job = *FJob;
      lock.unlock();
      job(part);
      lock.lock();
      if (--FLeft == 0) FDone.notify_all();
    }
  }

  static thread_local bool inPart;

  std::mutex FUse;   // held by the caller for its whole job
  std::mutex FLock;  // guards the rest
  std::condition_variable FWake, FDone;
  std::vector<std::thread> FThreads;  // never joined: they wait for work until the process ends
  const std::function<void(unsigned)>* FJob = nullptr;
  unsigned FParts = 0, FNext = 0, FLeft = 0;
};

thread_local bool TPool::inPart = false;

// Never destroyed: its threads outlive every static object. When the process
// ends they wait for work, holding no lock, and end with it.
TPool& Pool() {
  static TPool* const pool = new TPool;
  return *pool;
}

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
  const std::function<void(unsigned)> run = [&](unsigned part) {
    try {
      Body(part);
    } catch (...) {
      failed[part] = std::current_exception();
    }
  };
  if (Parts == 1) {
    run(0);
  } else if (!Pool().Run(Parts, run)) {
    // The pool is taken (by another caller, or by this part's own job):
    // a thread of its own for each part.
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
  }
  for (const std::exception_ptr& e : failed) {
    if (e) std::rethrow_exception(e);
  }
}

}  // namespace tavrin
