#include "app/RunJob.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace korimo {

namespace {

// The window's thread comes first: the job's thread, and with it the
// threads ComputeRun starts, which take its priority, yield to it.
constexpr int kBackgroundNice = 10;

void RunInBackground() {
#ifdef __linux__
  // On Linux the priority is a thread's own.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kBackgroundNice);
#endif
}

}  // namespace

RunJob::RunJob(std::uint64_t id, std::shared_ptr<RunAccumulator> run,
               std::shared_ptr<const std::vector<SheetSource>> sheets, std::size_t first,
               int threads, Deliver deliver, std::chrono::milliseconds interval)
    : id_(id), deliver_(std::move(deliver)) {
  thread_ = std::thread([this, run = std::move(run), sheets = std::move(sheets), first, threads,
                         interval]() mutable {
    Work(std::move(run), std::span<const SheetSource>(*sheets).subspan(first), threads, interval);
  });
}

RunJob::~RunJob() {
  Cancel();
  thread_.join();
}

void RunJob::Work(std::shared_ptr<RunAccumulator> run, std::span<const SheetSource> sheets,
                  int threads, std::chrono::milliseconds interval) {
  RunInBackground();
  using Clock = std::chrono::steady_clock;
  RunUpdate update;
  std::size_t handed = run->Rows().size();
  auto lastSent = Clock::now();
  const auto send = [&](bool last) {
    const SheetRows& rows = run->Rows();
    update.job = id_;
    for (; handed < rows.size(); ++handed)
      update.rows.push_back(&rows[handed]);
    update.statistics = run->Statistics();
    if (last) {
      update.last = true;
      update.cancelled = cancel_.load();
      update.run = std::move(run);
    }
    lastSent = Clock::now();
    deliver_(std::exchange(update, {}));
  };
  const auto progress = [&](const RunProgress& p) {
    update.progress = p;
    if (Clock::now() - lastSent >= interval)
      send(false);
  };
  try {
    if (run->Reference().reference && run->Reference().reference->Stored()) {
      ComputeRun(sheets, *run, threads, progress, &cancel_);
    } else {
      // Nothing can be compared: every sheet is refused for the
      // Reference's sake, unread.
      const int total = static_cast<int>(sheets.size());
      for (int i = 0; i < total && !cancel_.load(); ++i) {
        run->Add(CompareSheet(run->Reference(), sheets[static_cast<std::size_t>(i)], nullptr,
                              run->Options()));
        progress({i + 1, total});
      }
    }
    send(true);
  } catch (...) {
    // Memory ran out: the last update carries the reason and whatever the
    // accumulator holds, without rows or statistics of its own.
    RunUpdate last;
    last.job = id_;
    last.last = true;
    last.cancelled = true;
    last.failure = std::current_exception();
    last.run = std::move(run);
    deliver_(std::move(last));
  }
}

}  // namespace korimo
