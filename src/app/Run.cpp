#include "app/Run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>

#include "app/Comparison.h"
#include "app/Pairing.h"
#include "app/PatchRoles.h"
#include "app/Render.h"
#include "app/Verification.h"
#include "color/ColorDifference.h"
#include "core/MeasurementReader.h"

namespace korimo {

namespace {

namespace fs = std::filesystem;

constexpr Pair kPair = Pair::ReferenceFile1;

std::optional<std::int64_t> ModificationTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec);
}

std::string FileName(const std::string& path) {
  return fs::path(path).filename().string();
}

int CountOf(const Measurement* m) {
  return m == nullptr ? 0 : m->Count();
}

// The strip's line names the pair; a sheet of a run is no File1.
std::string WithoutPairName(std::string line) {
  const std::string name = std::string(PairName(kPair)) + ": ";
  if (line.starts_with(name))
    line.erase(0, name.size());
  return line;
}

// The window's frames show averages and maxima from the read that set the
// figures; "Best10%" and "95%" only where that read wrote them.
void TakeFigures(const Comparison& c, SheetRow& row) {
  const PairComparison& p = c.PairOf(kPair);
  auto& f = row.figures;
  f[static_cast<std::size_t>(RunFigure::AvgDeAb)] = p.AverageAb();
  f[static_cast<std::size_t>(RunFigure::MaxDeAb)] = p.maxAb;
  f[static_cast<std::size_t>(RunFigure::AvgDe00)] = p.Average00();
  f[static_cast<std::size_t>(RunFigure::MaxDe00)] = p.max00;
  if (p.labels != PercentileLabels::Written)
    return;
  f[static_cast<std::size_t>(RunFigure::Best10DeAb)] = c.Best10DeAb(kPair);
  f[static_cast<std::size_t>(RunFigure::Pct95DeAb)] = c.Pct95DeAb(kPair);
  f[static_cast<std::size_t>(RunFigure::Best10De00)] = c.Best10De00(kPair);
  f[static_cast<std::size_t>(RunFigure::Pct95De00)] = c.Pct95De00(kPair);
}

std::vector<SheetVerdict> VerdictsOf(const Comparison& c, const RunOptions& options) {
  std::vector<SheetVerdict> verdicts;
  if (options.checks.empty())
    return verdicts;
  const VerificationInput input = VerificationInputs(c);
  for (const CriteriaSet& set : options.checks) {
    const SetVerdict verdict = Verify(c, input, set);
    SheetVerdict v;
    v.pass = verdict.pass;
    for (const PairVerdict& pair : verdict.pairs) {
      for (const CriterionResult& result : pair.criteria) {
        v.values.push_back(result.value);
        if (!result.pass)
          v.failed.push_back(result.criterion.text);
      }
    }
    verdicts.push_back(std::move(v));
  }
  return verdicts;
}

std::optional<double> At(const std::vector<double>& values, const std::vector<int>& sampleOf,
                         std::optional<int> patch) {
  if (!patch || sampleOf[static_cast<std::size_t>(*patch)] < 0)
    return std::nullopt;
  return values[static_cast<std::size_t>(*patch)];
}

// Mean, sd (n - 1), minimum and maximum with their first sheets, over the
// values present; two passes over the rows, which are kept anyway.
RunSummary Summarize(const SheetRows& rows,
                     const std::function<std::optional<double>(const SheetRow&)>& value) {
  RunSummary s;
  double sum = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].Counts())
      continue;
    const std::optional<double> v = value(rows[i]);
    if (!v)
      continue;
    ++s.n;
    sum += *v;
    if (!s.min || *v < *s.min) {
      s.min = v;
      s.minSheet = static_cast<int>(i);
    }
    if (!s.max || *v > *s.max) {
      s.max = v;
      s.maxSheet = static_cast<int>(i);
    }
  }
  if (s.n == 0)
    return s;
  const double mean = sum / s.n;
  s.mean = mean;
  if (s.n < 2)
    return s;
  double squares = 0;
  for (const SheetRow& row : rows) {
    const std::optional<double> v = row.Counts() ? value(row) : std::nullopt;
    if (v)
      squares += (*v - mean) * (*v - mean);
  }
  s.sd = std::sqrt(squares / (s.n - 1));
  return s;
}

}  // namespace

SheetRowRefs RefsOf(const SheetRows& rows) {
  SheetRowRefs refs;
  refs.reserve(rows.size());
  for (const SheetRow& row : rows)
    refs.push_back(&row);
  return refs;
}

std::string_view StatusKey(SheetStatus status) {
  switch (status) {
    case SheetStatus::Compared:
      return "compared";
    case SheetStatus::Excluded:
      return "excluded";
    case SheetStatus::Refused:
      break;
  }
  return "refused";
}

std::vector<SheetSource> SheetSourcesOf(const std::vector<std::string>& paths) {
  std::vector<SheetSource> sheets;
  sheets.reserve(paths.size());
  for (const std::string& path : paths) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      sheets.push_back({path, ModificationTime(path)});
      continue;
    }
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path, ec)) {
      if (!entry.is_directory(ec))
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (std::string& file : files) {
      const std::optional<std::int64_t> mtime = ModificationTime(file);
      sheets.push_back({std::move(file), mtime});
    }
  }
  return sheets;
}

std::vector<std::string> ParseSheetList(std::string_view text, const std::string& listPath) {
  if (text.starts_with("\xEF\xBB\xBF"))
    text.remove_prefix(3);
  const fs::path folder = fs::path(listPath).parent_path();
  std::vector<std::string> paths;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (line.empty())
      continue;
    const fs::path path(line);
    paths.push_back(path.is_absolute() || folder.empty() ? std::string(line)
                                                         : (folder / path).string());
  }
  return paths;
}

bool SheetBefore(const SheetSource& a, const SheetSource& b, RunOrder order) {
  if (order == RunOrder::ModificationTime && a.mtime != b.mtime)
    return b.mtime ? (!a.mtime ? false : *a.mtime < *b.mtime) : true;
  if (order == RunOrder::Given)
    return false;
  const std::string na = FileName(a.path), nb = FileName(b.path);
  return na != nb ? na < nb : a.path < b.path;
}

void OrderSheets(std::vector<SheetSource>& sheets, RunOrder order) {
  if (order == RunOrder::Given)
    return;
  std::stable_sort(
      sheets.begin(), sheets.end(),
      [order](const SheetSource& a, const SheetSource& b) { return SheetBefore(a, b, order); });
}

std::string IsoUtcTime(std::int64_t seconds) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  if (::gmtime_r(&t, &utc) == nullptr)
    return {};
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, n);
}

std::optional<double> PatchSummary::Variation() const {
  if (!sdL || !sdA || !sdB)
    return std::nullopt;
  return std::sqrt(*sdL * *sdL + *sdA * *sdA + *sdB * *sdB);
}

bool RunPassesSet(const RunStatistics& statistics, std::size_t set,
                  const std::optional<double>& minPass) {
  if (statistics.compared == 0 || set >= statistics.passed.size())
    return false;
  const int passed = statistics.passed[set];
  return minPass ? 100.0 * passed >= *minPass * statistics.compared : passed == statistics.compared;
}

std::string NoReferenceReason(Language language) {
  return language == Language::Japanese ? "基準にパッチがありません"
                                        : "the Reference yielded no patches";
}

RunReference PrepareReference(MeasurementPtr reference) {
  RunReference r;
  r.reference = std::move(reference);
  const Measurement* ref = r.reference.get();
  if (CountOf(ref) == 0)
    return r;
  const RolePatches paper = FindRolePatches(Role::Paper, ref->device, ref->Count());
  if (!paper.patches.empty())
    r.paper = paper.patches.front();
  const RolePatches solids = FindRolePatches(Role::Solids, ref->device, ref->Count());
  for (std::size_t k = 0; k < solids.byRecipe.size() && k < r.solids.size(); ++k) {
    if (solids.byRecipe[k] >= 0)
      r.solids[k] = solids.byRecipe[k];
  }
  return r;
}

SheetComparison CompareSheet(const RunReference& reference, const SheetSource& source,
                             MeasurementPtr sheet, const RunOptions& options) {
  SheetComparison out;
  SheetRow& row = out.row;
  row.file = source.path;
  row.mtime = source.mtime;
  const Measurement* ref = reference.reference.get();
  if (CountOf(ref) == 0) {
    row.reason = NoReferenceReason(Language::English);
    row.reasonJa = NoReferenceReason(Language::Japanese);
    return out;
  }
  if (CountOf(sheet.get()) == 0) {
    const FailureReason failure = sheet ? sheet->failure : FailureReason{};
    row.reason = EnglishReason(failure);
    row.reasonJa = JapaneseReason(failure);
    return out;
  }
  // The load plan of `korimo-cli REFERENCE SHEET`: the Reference read, then
  // the sheet as File1, whose read sets the figures.
  Inputs inputs;
  inputs.mode = options.mode;
  inputs.paths[Index(DataSet::Reference)] = ref->path;
  inputs.paths[Index(DataSet::File1)] = source.path;
  ApplyRead(inputs, DataSet::Reference, reference.reference);
  ApplyRead(inputs, DataSet::File1, sheet);
  const ComparisonPtr c = Comparison::Compute(inputs);
  const PairComparison& p = c->PairOf(kPair);

  row.paired = p.map.paired;
  row.reason = PairingWarningEnglish(*c, kPair);
  if (!row.reason.empty()) {
    row.status = SheetStatus::Excluded;
    row.reasonJa = WithoutPairName(PairingTextsOf(*c, kPair).line);
  } else {
    row.status = SheetStatus::Compared;
  }
  TakeFigures(*c, row);
  row.verdicts = VerdictsOf(*c, options);

  // Only patches both files hold meet: by position nothing meets the zeros
  // past the shorter file.
  const int nRef = ref->Count();
  const int common = std::min(nRef, sheet->Count());
  out.sampleOf.assign(static_cast<std::size_t>(nRef), -1);
  out.de00.assign(static_cast<std::size_t>(nRef), 0.0);
  for (int i = 0; i < nRef; ++i) {
    const int j = p.map.byPosition ? (i < common ? i : -1) : p.map.SampleOf(i);
    if (j < 0)
      continue;
    const auto at = static_cast<std::size_t>(i);
    out.sampleOf[at] = j;
    out.de00[at] = p.de00[at];
  }
  row.paper = At(out.de00, out.sampleOf, reference.paper);
  for (std::size_t k = 0; k < row.solids.size(); ++k)
    row.solids[k] = At(out.de00, out.sampleOf, reference.solids[k]);
  out.sheet = std::move(sheet);
  return out;
}

std::optional<double> Drift(const SheetComparison& earlier, const SheetComparison& later) {
  if (!earlier.sheet || !later.sheet)
    return std::nullopt;
  const std::size_t n = std::min(earlier.sampleOf.size(), later.sampleOf.size());
  double sum = 0;
  int count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const int e = earlier.sampleOf[i];
    const int l = later.sampleOf[i];
    if (e < 0 || l < 0)
      continue;
    const LabValue& r = earlier.sheet->lab[static_cast<std::size_t>(e)];
    const LabValue& s = later.sheet->lab[static_cast<std::size_t>(l)];
    sum += Ciede2000(r[0], r[1], r[2], s[0], s[1], s[2]);
    ++count;
  }
  if (count == 0)
    return std::nullopt;
  return sum / count;
}

void RunAccumulator::Welford::Add(double x) {
  ++n;
  const double delta = x - mean;
  mean += delta / static_cast<double>(n);
  m2 += delta * (x - mean);
}

std::optional<double> RunAccumulator::Welford::Sd() const {
  if (n < 2)
    return std::nullopt;
  return std::sqrt(m2 / static_cast<double>(n - 1));
}

RunAccumulator::RunAccumulator(RunReference reference, RunOptions options)
    : reference_(std::move(reference)), options_(std::move(options)) {
  patches_.resize(static_cast<std::size_t>(CountOf(reference_.reference.get())));
}

const SheetRow& RunAccumulator::Add(SheetComparison sheet) {
  std::optional<double> drift;
  if (sheet.row.Counts() && lastCompared_)
    drift = Drift(*lastCompared_, sheet);
  return Add(std::move(sheet), drift);
}

const SheetRow& RunAccumulator::Add(SheetComparison sheet, std::optional<double> drift) {
  rows_.push_back(std::move(sheet.row));
  SheetRow& row = rows_.back();
  if (!row.Counts())
    return row;
  row.drift = drift;
  const std::size_t n = std::min(patches_.size(), sheet.sampleOf.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int j = sheet.sampleOf[i];
    if (j < 0)
      continue;
    const LabValue& lab = sheet.sheet->lab[static_cast<std::size_t>(j)];
    PatchAccumulator& p = patches_[i];
    p.de00.Add(sheet.de00[i]);
    p.L.Add(lab[0]);
    p.a.Add(lab[1]);
    p.b.Add(lab[2]);
  }
  sheet.row = {};
  sheet.de00 = {};
  lastCompared_ = std::move(sheet);
  return row;
}

RunStatistics RunAccumulator::Statistics() const {
  RunStatistics s;
  s.given = static_cast<int>(rows_.size());
  for (const SheetRow& row : rows_) {
    s.compared += row.status == SheetStatus::Compared ? 1 : 0;
    s.excluded += row.status == SheetStatus::Excluded ? 1 : 0;
    s.refused += row.status == SheetStatus::Refused ? 1 : 0;
  }
  for (int k = 0; k < kRunFigures; ++k) {
    s.figures[static_cast<std::size_t>(k)] =
        Summarize(rows_, [k](const SheetRow& r) { return r.figures[static_cast<std::size_t>(k)]; });
  }
  s.figures[kPaperStatistic] = Summarize(rows_, [](const SheetRow& r) { return r.paper; });
  s.figures[kDriftStatistic] = Summarize(rows_, [](const SheetRow& r) { return r.drift; });
  for (std::size_t set = 0; set < options_.checks.size(); ++set) {
    const auto passed = std::count_if(rows_.begin(), rows_.end(), [set](const SheetRow& r) {
      return r.Counts() && set < r.verdicts.size() && r.verdicts[set].pass;
    });
    s.passed.push_back(static_cast<int>(passed));
    if (s.compared == 0)
      s.passShare.emplace_back();
    else
      s.passShare.push_back(static_cast<double>(passed) / s.compared);
  }
  s.patches.reserve(patches_.size());
  for (const PatchAccumulator& p : patches_) {
    PatchSummary summary;
    summary.sheets = static_cast<int>(p.de00.n);
    if (p.de00.n > 0)
      summary.meanDe00 = p.de00.mean;
    summary.sdL = p.L.Sd();
    summary.sdA = p.a.Sd();
    summary.sdB = p.b.Sd();
    s.patches.push_back(summary);
  }
  std::vector<std::pair<double, int>> ranked;
  for (std::size_t i = 0; i < s.patches.size(); ++i) {
    if (const std::optional<double> v = s.patches[i].Variation())
      ranked.emplace_back(*v, static_cast<int>(i));
  }
  const auto top = std::min<std::size_t>(kMostVariablePatches, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(top), ranked.end(),
                    [](const auto& a, const auto& b) {
                      return a.first != b.first ? a.first > b.first : a.second < b.second;
                    });
  for (std::size_t k = 0; k < top; ++k)
    s.mostVariable.push_back(ranked[k].second);
  return s;
}

namespace {

// The work between the calling thread, which accumulates in run order, and
// the workers, which read and compare sheets in any order and compute each
// drift as soon as the previous compared sheet is known. Workers never run
// more than kAhead sheets past the accumulator, so memory stays bounded
// however long the run.
class RunPipeline {
 public:
  RunPipeline(std::span<const SheetSource> sheets, RunAccumulator& accumulator,
              const std::atomic<bool>* cancel, int threads)
      : sheets_(sheets),
        accumulator_(accumulator),
        cancel_(cancel),
        ahead_(4 * static_cast<std::size_t>(threads) + 4),
        slots_(sheets.size()) {
    if (const SheetComparison* last = accumulator.LastCompared())
      lastCompared_ = std::make_shared<const SheetComparison>(*last);
  }

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (Stopped()) {
        // A cancel comes without a notice: the accumulating thread may be
        // waiting for a sheet that no worker will bring now.
        changed_.notify_all();
        return;
      }
      if (!drifts_.empty()) {
        DriftJob job = std::move(drifts_.front());
        drifts_.pop_front();
        lock.unlock();
        const std::optional<double> drift =
            Guarded([&] { return Drift(*job.earlier, *job.later); });
        lock.lock();
        Slot& slot = slots_[job.index];
        slot.drift = drift;
        slot.ready = true;
        changed_.notify_all();
        continue;
      }
      if (next_ < sheets_.size() && next_ < handed_ + ahead_) {
        const std::size_t i = next_++;
        lock.unlock();
        auto compared = Guarded([&] {
          const SheetSource& source = sheets_[i];
          auto read = std::make_shared<const Measurement>(ReadMeasurementFile(source.path));
          return std::make_shared<const SheetComparison>(CompareSheet(
              accumulator_.Reference(), source, std::move(read), accumulator_.Options()));
        });
        lock.lock();
        slots_[i].sheet = std::move(compared);
        slots_[i].read = true;
        Advance();
        changed_.notify_all();
        continue;
      }
      changed_.wait(lock);
    }
  }

  // Hands the sheets to the accumulator in run order until every sheet is
  // handed or the run is stopped; then, or on an exception, the workers
  // stop.
  void Accumulate(const std::function<void(const RunProgress&)>& progress) {
    try {
      HandOver(progress);
    } catch (...) {
      Stop();
      throw;
    }
    Stop();
  }

  void Rethrow() const {
    if (failure_)
      std::rethrow_exception(failure_);
  }

 private:
  struct Slot {
    std::shared_ptr<const SheetComparison> sheet;
    bool read = false;
    std::optional<double> drift;
    bool ready = false;  // read, and its drift known
  };
  struct DriftJob {
    std::size_t index;
    std::shared_ptr<const SheetComparison> earlier;
    std::shared_ptr<const SheetComparison> later;
  };

  void HandOver(const std::function<void(const RunProgress&)>& progress) {
    const int total = static_cast<int>(sheets_.size());
    std::unique_lock lock(mutex_);
    while (handed_ < sheets_.size()) {
      changed_.wait(lock, [&] { return Stopped() || slots_[handed_].ready; });
      if (Stopped())
        return;
      Slot slot = std::move(slots_[handed_]);
      ++handed_;
      changed_.notify_all();
      lock.unlock();
      accumulator_.Add(SheetComparison(*slot.sheet), slot.drift);
      slot = {};
      if (progress)
        progress({static_cast<int>(handed_), total});
      lock.lock();
    }
  }

  void Stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
  }

  bool Stopped() const {
    return stop_ || (cancel_ != nullptr && cancel_->load(std::memory_order_relaxed));
  }

  // An exception on a worker (memory ran out) ends the run and is thrown
  // again on the calling thread.
  template <typename F>
  auto Guarded(F&& f) -> decltype(f()) {
    try {
      return f();
    } catch (...) {
      std::lock_guard lock(mutex_);
      if (!failure_)
        failure_ = std::current_exception();
      stop_ = true;
      changed_.notify_all();
      return {};
    }
  }

  // Past every sheet read in order: each compared one's drift is due from
  // the last compared before it.
  void Advance() {
    while (frontier_ < sheets_.size() && slots_[frontier_].read) {
      Slot& slot = slots_[frontier_];
      if (slot.sheet && slot.sheet->row.Counts()) {
        if (lastCompared_)
          drifts_.push_back({frontier_, lastCompared_, slot.sheet});
        else
          slot.ready = true;
        lastCompared_ = slot.sheet;
      } else {
        slot.ready = true;
      }
      ++frontier_;
    }
  }

  std::span<const SheetSource> sheets_;
  RunAccumulator& accumulator_;
  const std::atomic<bool>* cancel_;
  const std::size_t ahead_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  std::deque<DriftJob> drifts_;
  std::shared_ptr<const SheetComparison> lastCompared_;
  std::size_t next_ = 0;      // the next sheet to read
  std::size_t frontier_ = 0;  // the first sheet not yet read, in order
  std::size_t handed_ = 0;    // the next sheet for the accumulator
  bool stop_ = false;
  std::exception_ptr failure_;
};

}  // namespace

void ComputeRun(std::span<const SheetSource> sheets, RunAccumulator& accumulator, int threads,
                const std::function<void(const RunProgress&)>& progress,
                const std::atomic<bool>* cancel) {
  if (sheets.empty())
    return;
  threads = std::clamp(threads, 1, static_cast<int>(sheets.size()));
  RunPipeline pipeline(sheets, accumulator, cancel, threads);
  std::vector<std::thread> workers;
  workers.reserve(static_cast<std::size_t>(threads));
  for (int t = 0; t < threads; ++t)
    workers.emplace_back([&pipeline] { pipeline.Work(); });
  std::exception_ptr failure;
  try {
    pipeline.Accumulate(progress);
  } catch (...) {
    failure = std::current_exception();
  }
  for (std::thread& worker : workers)
    worker.join();
  if (failure)
    std::rethrow_exception(failure);
  pipeline.Rethrow();
}

}  // namespace korimo
