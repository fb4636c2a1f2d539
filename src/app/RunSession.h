#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "app/Inputs.h"
#include "app/Run.h"
#include "app/RunJob.h"

namespace korimo {

// What the rows of a window's run were computed from besides the sheets:
// the Reference as read (a new read is a new Reference), the pairing mode
// and the criteria set.
struct RunBasis {
  MeasurementPtr reference;
  PairingMode mode = PairingMode::Position;
  std::optional<CriteriaSet> criteria;
  bool operator==(const RunBasis&) const = default;
};

// What the views of a run must show anew after the session changed.
struct RunChange {
  bool reset = false;  // every row; else the rows from `from` on are new
  std::size_t from = 0;
  std::exception_ptr failure;  // a computation stopped by it, to be told
};

// The window's run of sheets: the sheets in run order, the rows computed so
// far and their statistics. Every edit that alters the rows computes them
// again in the background (RunJob), from the first sheet it concerns: new
// sheets at the end of the run only add rows, anything else computes the
// run anew. Rows arrive in batches; while a computation runs the session
// shows the rows computed so far and the edits wait for it or cancel it.
// Single-threaded: every call, and every task handed to `post`, runs on
// the thread that owns the session.
class RunSession {
 public:
  struct Hooks {
    // Runs a task on the session's thread later; called from the jobs'
    // threads. Tasks must not outlive the session.
    std::function<void(std::function<void()>)> post;
    std::function<void(const RunChange&)> changed;
    int threads = 1;
    std::chrono::milliseconds interval = kRunUpdateInterval;
  };

  explicit RunSession(Hooks hooks);
  ~RunSession();
  RunSession(const RunSession&) = delete;
  RunSession& operator=(const RunSession&) = delete;

  // Adds the sheets `paths` name (a folder: its files) that the run does not
  // hold yet, each in its place of the run's order. Folders are listed and
  // modification times read off the session's thread: the sheets join the
  // run a moment later.
  void Add(const std::vector<std::string>& paths);
  // The run's sheets become those of `paths`, as they are added.
  void Replace(const std::vector<std::string>& paths);
  void Remove(const std::vector<std::string>& paths);
  void SetOrder(RunOrder order);
  // A sheet's file changed: it is read again. False when it is no sheet of
  // the run.
  bool Reread(const std::string& path);
  void SetBasis(RunBasis basis);
  // The least share of compared sheets each set must pass (percent), or
  // none: every compared sheet must. It judges the run and computes nothing
  // again.
  void SetMinPass(std::optional<double> percent);
  // No sheets, no rows; a computation still running is dropped.
  void Clear();
  // The user stops the computation: the sheets not yet compared leave the
  // run.
  void Cancel();

  const std::vector<SheetSource>& Sheets() const { return *sheets_; }
  bool Holds(const std::string& path) const { return Find(path).has_value(); }
  RunOrder Order() const { return order_; }
  const RunBasis& Basis() const { return basis_; }
  // The rows as computed so far, in run order, and their statistics; the
  // options they were computed with and the run is judged by. The
  // rows stay where they are until the session changes.
  const SheetRowRefs& Rows() const { return rows_; }
  const RunStatistics& Statistics() const { return statistics_; }
  const RunOptions& Options() const { return options_; }
  // The run, complete, while no computation runs; else null.
  const RunAccumulator* Finished() const { return job_ ? nullptr : run_.get(); }
  bool Busy() const { return job_ != nullptr || !scans_.empty(); }
  // Sheets of the run compared so far, of how many.
  RunProgress Progress() const;

 private:
  void Lower(std::size_t valid) { valid_ = std::min(valid_, valid); }
  std::optional<std::size_t> Find(const std::string& path) const;
  std::vector<SheetSource>& EditSheets();
  void SetSheets(std::vector<SheetSource> sheets);
  int Insert(std::vector<SheetSource> sources);
  void Scanned(std::uint64_t scan, std::vector<SheetSource> sources);
  void Schedule();
  void Start(bool anew);
  void Restart();
  void Retire();
  void Receive(RunUpdate update);
  void Finish(RunUpdate& update, RunChange& change);
  void Truncate(std::size_t sheets);
  void TakeOptions(const RunOptions& options);

  Hooks hooks_;
  // The sheets in run order, shared with the job that reads them: an edit
  // meanwhile works on a copy.
  std::shared_ptr<std::vector<SheetSource>> sheets_;
  bool sheetsShared_ = false;
  const std::vector<SheetSource>* jobSheets_ = nullptr;  // the list the job reads
  // Where each path's hash lies in the sheets, made again after an edit;
  // kept small, as a long run holds many sheets.
  mutable std::unordered_multimap<std::size_t, std::size_t> index_;
  mutable bool indexStale_ = true;
  RunOrder order_ = RunOrder::Name;
  RunBasis basis_;
  // Leading sheets unchanged since their rows were computed, or since the
  // running job took them.
  std::size_t valid_ = 0;

  RunBasis rowsBasis_;  // the basis the rows were computed from
  RunOptions options_;
  std::optional<double> minPass_;
  // The run the rows shown lie in; while a job adds to it, only the rows it
  // handed over are read.
  std::shared_ptr<RunAccumulator> run_;
  std::shared_ptr<RunAccumulator> jobRun_;  // the running job's
  SheetRowRefs rows_;
  RunStatistics statistics_;

  std::unique_ptr<RunJob> job_;
  std::uint64_t jobId_ = 0;
  std::size_t jobFirst_ = 0;  // rows before the job's first sheet
  std::size_t jobEnd_ = 0;    // sheets of the run when the job started
  bool jobReplaces_ = false;  // its first update replaces the rows shown
  bool userCancelled_ = false;
  RunProgress jobProgress_;
  // Cancelled jobs whose last update is still to come; they are joined then.
  std::vector<std::unique_ptr<RunJob>> retired_;
  std::vector<std::uint64_t> retiredIds_;
  // Sheets being named: folders listed, times read. Those started before
  // the last Clear() add nothing.
  struct Scan {
    std::uint64_t id = 0;
    std::thread thread;
  };
  std::vector<Scan> scans_;
  std::uint64_t scanId_ = 0;
  std::uint64_t clearedScans_ = 0;
};

}  // namespace korimo
