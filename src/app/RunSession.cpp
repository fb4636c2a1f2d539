#include "app/RunSession.h"

#include <unordered_set>
#include <utility>

namespace korimo {

namespace {

std::shared_ptr<RunAccumulator> FreshRun(const RunBasis& basis) {
  RunOptions options;
  options.mode = basis.mode;
  if (basis.criteria)
    options.checks.push_back(*basis.criteria);
  return std::make_shared<RunAccumulator>(PrepareReference(basis.reference), std::move(options));
}

}  // namespace

RunSession::RunSession(Hooks hooks)
    : hooks_(std::move(hooks)), sheets_(std::make_shared<std::vector<SheetSource>>()) {
  run_ = FreshRun(basis_);
  TakeOptions(run_->Options());
  statistics_ = run_->Statistics();
}

RunSession::~RunSession() {
  job_.reset();
  retired_.clear();
  for (Scan& scan : scans_)
    scan.thread.join();
}

void RunSession::Add(const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  const std::uint64_t id = ++scanId_;
  const auto post = hooks_.post;
  scans_.push_back({id, std::thread([this, id, paths, order = order_, post] {
                      std::vector<SheetSource> sources;
                      try {
                        sources = SheetSourcesOf(paths);
                        OrderSheets(sources, order);
                      } catch (...) {
                        // Memory ran out: nothing is added.
                        sources.clear();
                      }
                      post([this, id, sources = std::move(sources)]() mutable {
                        Scanned(id, std::move(sources));
                      });
                    })});
  hooks_.changed({false, rows_.size(), nullptr});
}

void RunSession::Replace(const std::vector<std::string>& paths) {
  Lower(0);
  SetSheets({});
  Schedule();
  Add(paths);
}

void RunSession::Scanned(std::uint64_t scan, std::vector<SheetSource> sources) {
  const auto at =
      std::find_if(scans_.begin(), scans_.end(), [scan](const Scan& s) { return s.id == scan; });
  if (at != scans_.end()) {
    at->thread.join();
    scans_.erase(at);
  }
  if (scan > clearedScans_)
    Insert(std::move(sources));
  Schedule();
  hooks_.changed({false, rows_.size(), nullptr});
}

void RunSession::Remove(const std::vector<std::string>& paths) {
  const std::unordered_set<std::string> gone(paths.begin(), paths.end());
  const std::vector<SheetSource>& sheets = *sheets_;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (gone.contains(sheets[i].path)) {
      Lower(i);
      break;
    }
  }
  std::erase_if(EditSheets(), [&](const SheetSource& s) { return gone.contains(s.path); });
  Schedule();
}

void RunSession::SetOrder(RunOrder order) {
  if (order == order_)
    return;
  order_ = order;
  std::vector<SheetSource> sheets = *sheets_;
  OrderSheets(sheets, order_);
  std::size_t same = 0;
  while (same < sheets.size() && sheets[same].path == (*sheets_)[same].path)
    ++same;
  Lower(same);
  SetSheets(std::move(sheets));
  Schedule();
}

// A new modification time may move the sheet in the run's order.
bool RunSession::Reread(const std::string& path) {
  const std::optional<std::size_t> at = Find(path);
  if (!at)
    return false;
  Lower(*at);
  std::vector<SheetSource>& sheets = EditSheets();
  sheets.erase(sheets.begin() + static_cast<std::ptrdiff_t>(*at));
  Insert(SheetSourcesOf({path}));
  Schedule();
  return true;
}

void RunSession::SetBasis(RunBasis basis) {
  if (basis == basis_)
    return;
  basis_ = std::move(basis);
  Lower(0);
  Schedule();
}

void RunSession::SetMinPass(std::optional<double> percent) {
  if (percent == minPass_)
    return;
  minPass_ = percent;
  options_.minPass = percent;
  hooks_.changed({false, rows_.size(), nullptr});
}

void RunSession::TakeOptions(const RunOptions& options) {
  options_ = options;
  options_.minPass = minPass_;
}

void RunSession::Clear() {
  if (job_)
    Retire();
  SetSheets({});
  valid_ = 0;
  userCancelled_ = false;
  clearedScans_ = scanId_;
  Restart();
}

void RunSession::Cancel() {
  if (!job_)
    return;
  userCancelled_ = true;
  job_->Cancel();
}

RunProgress RunSession::Progress() const {
  if (!job_) {
    const int rows = static_cast<int>(rows_.size());
    return {rows, rows};
  }
  const int first = static_cast<int>(jobFirst_);
  return {first + jobProgress_.done, first + jobProgress_.total};
}

std::optional<std::size_t> RunSession::Find(const std::string& path) const {
  const std::vector<SheetSource>& sheets = *sheets_;
  if (indexStale_) {
    index_.clear();
    index_.reserve(sheets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i)
      index_.emplace(std::hash<std::string>{}(sheets[i].path), i);
    indexStale_ = false;
  }
  const auto [first, last] = index_.equal_range(std::hash<std::string>{}(path));
  for (auto it = first; it != last; ++it) {
    if (sheets[it->second].path == path)
      return it->second;
  }
  return std::nullopt;
}

std::vector<SheetSource>& RunSession::EditSheets() {
  if (sheetsShared_)
    SetSheets(*sheets_);
  indexStale_ = true;
  return *sheets_;
}

void RunSession::SetSheets(std::vector<SheetSource> sheets) {
  sheets_ = std::make_shared<std::vector<SheetSource>>(std::move(sheets));
  sheetsShared_ = false;
  indexStale_ = true;
}

// The new sheets merged into the run's order, which the run holds already.
int RunSession::Insert(std::vector<SheetSource> sources) {
  std::vector<bool> keep(sources.size());
  std::unordered_set<std::string_view> named;
  for (std::size_t i = 0; i < sources.size(); ++i)
    keep[i] = !Find(sources[i].path) && named.insert(sources[i].path).second;
  std::vector<SheetSource> fresh;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (keep[i])
      fresh.push_back(std::move(sources[i]));
  }
  if (fresh.empty())
    return 0;
  const auto before = [this](const SheetSource& a, const SheetSource& b) {
    return SheetBefore(a, b, order_);
  };
  if (!std::is_sorted(fresh.begin(), fresh.end(), before))
    OrderSheets(fresh, order_);
  const std::vector<SheetSource>& sheets = *sheets_;
  std::vector<SheetSource> merged;
  merged.reserve(sheets.size() + fresh.size());
  std::optional<std::size_t> first;
  auto old = sheets.begin();
  for (SheetSource& s : fresh) {
    while (old != sheets.end() && !before(s, *old))
      merged.push_back(*old++);
    if (!first)
      first = merged.size();
    merged.push_back(std::move(s));
  }
  merged.insert(merged.end(), old, sheets.end());
  Lower(*first);
  const int added = static_cast<int>(fresh.size());
  SetSheets(std::move(merged));
  return added;
}

// A running job whose rows would no longer stand is cancelled; its last
// update schedules again. Otherwise new rows or the whole run are computed.
void RunSession::Schedule() {
  if (job_) {
    if (valid_ < jobEnd_)
      job_->Cancel();
    return;
  }
  const bool anew = valid_ < rows_.size() || !(rowsBasis_ == basis_);
  if (anew && sheets_->empty()) {
    Restart();
    return;
  }
  if (anew || rows_.size() < sheets_->size()) {
    Start(anew);
    hooks_.changed({false, rows_.size(), nullptr});
  }
}

// The rows shown stay until the new ones come.
void RunSession::Start(bool anew) {
  jobRun_ = anew ? FreshRun(basis_) : run_;
  if (anew) {
    rowsBasis_ = basis_;
    TakeOptions(jobRun_->Options());
  }
  jobFirst_ = anew ? 0 : rows_.size();
  jobEnd_ = sheets_->size();
  jobReplaces_ = anew;
  valid_ = sheets_->size();
  jobProgress_ = {0, static_cast<int>(jobEnd_ - jobFirst_)};
  sheetsShared_ = true;
  jobSheets_ = sheets_.get();
  const auto post = hooks_.post;
  job_ = std::make_unique<RunJob>(
      ++jobId_, jobRun_, sheets_, jobFirst_, hooks_.threads,
      [this, post](RunUpdate update) {
        post([this, update = std::move(update)]() mutable { Receive(std::move(update)); });
      },
      hooks_.interval);
}

// The rows of no sheet, for the basis as it stands.
void RunSession::Restart() {
  rowsBasis_ = basis_;
  run_ = FreshRun(basis_);
  TakeOptions(run_->Options());
  rows_.clear();
  statistics_ = run_->Statistics();
  valid_ = sheets_->size();
  hooks_.changed({true, 0, nullptr});
}

void RunSession::Retire() {
  jobRun_.reset();
  job_->Cancel();
  retiredIds_.push_back(jobId_);
  retired_.push_back(std::move(job_));
}

void RunSession::Receive(RunUpdate update) {
  if (!job_ || update.job != jobId_) {
    // A retired job's last word: its thread ends now.
    for (std::size_t i = 0; update.last && i < retiredIds_.size(); ++i) {
      if (retiredIds_[i] == update.job) {
        retiredIds_.erase(retiredIds_.begin() + static_cast<std::ptrdiff_t>(i));
        retired_.erase(retired_.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
    return;
  }
  RunChange change;
  if (jobReplaces_) {
    rows_ = std::move(update.rows);
    run_ = jobRun_;
    jobReplaces_ = false;
    change.reset = true;
  } else {
    change.from = rows_.size();
    rows_.insert(rows_.end(), update.rows.begin(), update.rows.end());
  }
  statistics_ = std::move(update.statistics);
  jobProgress_ = update.progress;
  if (update.last)
    Finish(update, change);
  hooks_.changed(change);
  if (update.last)
    Schedule();
}

void RunSession::Finish(RunUpdate& update, RunChange& change) {
  job_.reset();
  // The job's thread has ended: the list it read is the session's alone.
  if (sheets_.get() == jobSheets_)
    sheetsShared_ = false;
  jobSheets_ = nullptr;
  jobRun_.reset();
  run_ = update.run ? std::move(update.run) : FreshRun(rowsBasis_);
  if (rows_.size() != run_->Rows().size()) {
    rows_ = RefsOf(run_->Rows());
    change.reset = true;
  }
  if (update.failure) {
    change.failure = update.failure;
    statistics_ = run_->Statistics();
    // Nothing is computed again by itself: the run keeps what stands.
    if (valid_ < rows_.size() || !(rowsBasis_ == basis_)) {
      SetSheets({});
      Restart();
      change.reset = true;
    }
    Truncate(rows_.size());
    valid_ = rows_.size();
  } else if (userCancelled_) {
    Truncate(rows_.size());
  }
  userCancelled_ = false;
}

void RunSession::Truncate(std::size_t sheets) {
  if (sheets < sheets_->size())
    EditSheets().resize(sheets);
}

}  // namespace korimo
