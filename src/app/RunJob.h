#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "app/Run.h"

namespace korimo {

// What a run computed in the background hands to the thread that shows it:
// the rows added since the last update, the statistics of every row so far
// and the progress. The rows stay in the accumulator, which adds rows but
// never touches one it has handed over: they may be read in place while the
// run goes on, as long as the accumulator lives. The last update hands the
// accumulator back.
struct RunUpdate {
  std::uint64_t job = 0;
  SheetRowRefs rows;  // in run order, after those of earlier updates
  RunStatistics statistics;
  RunProgress progress;  // of this job's sheets
  bool last = false;
  // Only on the last update:
  std::shared_ptr<RunAccumulator> run;
  bool cancelled = false;
  std::exception_ptr failure;  // what stopped the job early (memory ran out)
};

// Updates at most this often, so that a window redraws a growing run a few
// times a second however fast its sheets come.
inline constexpr std::chrono::milliseconds kRunUpdateInterval{100};

// One computation of a run on a thread of its own: the sheets are read and
// compared by ComputeRun and added to `run`, which may already hold sheets.
// `deliver` is called on that thread, at most every `interval` and once
// more at the end; it must hand the update over to the thread that shows it
// and return. Destroying the job cancels it and waits for its thread.
class RunJob {
 public:
  using Deliver = std::function<void(RunUpdate)>;

  // The job reads the sheets of `sheets` from `first` on; nothing may change
  // the list while the job lives.
  RunJob(std::uint64_t id, std::shared_ptr<RunAccumulator> run,
         std::shared_ptr<const std::vector<SheetSource>> sheets, std::size_t first, int threads,
         Deliver deliver, std::chrono::milliseconds interval = kRunUpdateInterval);
  ~RunJob();
  RunJob(const RunJob&) = delete;
  RunJob& operator=(const RunJob&) = delete;

  // The sheets not yet handed to the accumulator are left out; the last
  // update follows soon.
  void Cancel() { cancel_.store(true); }

 private:
  void Work(std::shared_ptr<RunAccumulator> run, std::span<const SheetSource> sheets, int threads,
            std::chrono::milliseconds interval);

  std::uint64_t id_;
  Deliver deliver_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

}  // namespace korimo
