#include "app/RunSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "core/MeasurementReader.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

constexpr int kPatches = 20;

// A session whose posted tasks wait in a queue until the test runs them, as
// a window's event loop would, and that records what it announced.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : dir_("session") {
    RunSession::Hooks hooks;
    hooks.post = [this](std::function<void()> task) {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
      posted_.notify_one();
    };
    hooks.changed = [this](const RunChange& change) { changes_.push_back(change); };
    hooks.threads = 2;
    hooks.interval = std::chrono::milliseconds(0);
    session_ = std::make_unique<RunSession>(std::move(hooks));
  }
  ~SessionTest() override { session_.reset(); }

  // Runs the next posted task.
  void RunOne() {
    std::unique_lock lock(mutex_);
    ASSERT_TRUE(posted_.wait_for(lock, std::chrono::seconds(20), [&] { return !tasks_.empty(); }));
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
  }
  // Runs the posted tasks until the session rests.
  void Settle() {
    while (session_->Busy() && !::testing::Test::HasFatalFailure())
      RunOne();
  }

  // Sheet k lies 0.1 k above a flat Reference.
  std::string Sheet(int k) {
    const std::string path = dir_.File("s" + std::to_string(10 + k) + ".txt");
    WriteChart(path, Offsets(std::vector<double>(kPatches, 0.1 * k)));
    return path;
  }
  MeasurementPtr Reference(double L) {
    WriteChart(dir_.File("ref.txt"), Flat(kPatches, L));
    return std::make_shared<Measurement>(ReadMeasurementFile(dir_.File("ref.txt")));
  }
  // The rows' ⊿E averages as the table shows them.
  std::vector<double> Averages() const {
    std::vector<double> averages;
    for (const SheetRow* row : session_->Rows()) {
      const double avg = row->figures[static_cast<std::size_t>(RunFigure::AvgDeAb)].value_or(-1);
      averages.push_back(std::round(avg * 100) / 100);
    }
    return averages;
  }
  bool AnyReset() const {
    return std::any_of(changes_.begin(), changes_.end(),
                       [](const RunChange& change) { return change.reset; });
  }

  TempDir dir_;
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::vector<RunChange> changes_;
  std::unique_ptr<RunSession> session_;
};

// Sheets added later at the end only add rows, the drift going on from the
// last sheet before; a sheet that sorts among them, another Reference and a
// changed file compute the run anew. The run is the one a single call
// computes from the same sheets.
TEST_F(SessionTest, RowsGrowAtTheEndAndAnythingElseComputesAnew) {
  session_->SetBasis({Reference(50), PairingMode::Position, std::nullopt});
  session_->Add({Sheet(1), Sheet(2), Sheet(3)});
  Settle();
  EXPECT_EQ(Averages(), std::vector<double>({0.1, 0.2, 0.3}));
  changes_.clear();
  session_->Add({Sheet(5), Sheet(6)});
  Settle();
  EXPECT_FALSE(AnyReset());
  EXPECT_EQ(Averages(), std::vector<double>({0.1, 0.2, 0.3, 0.5, 0.6}));
  // Sheet 3 at L* 50.3 to sheet 5 at 50.5: ⊿E00 0.2 / S_L (S_L = 1 near L* 50).
  EXPECT_NEAR(*session_->Rows()[3]->drift, 0.2, 1e-3);

  changes_.clear();
  session_->Add({Sheet(4)});
  Settle();
  EXPECT_TRUE(AnyReset());
  EXPECT_EQ(Averages(), std::vector<double>({0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
  EXPECT_NEAR(*session_->Rows()[4]->drift, 0.1, 1e-3);

  session_->SetBasis({Reference(49), PairingMode::Position, std::nullopt});
  WriteChart(dir_.File("s12.txt"), Offsets(std::vector<double>(kPatches, 2)));
  EXPECT_TRUE(session_->Reread(dir_.File("s12.txt")));
  Settle();
  EXPECT_EQ(Averages(), std::vector<double>({1.1, 3, 1.3, 1.4, 1.5, 1.6}));
  ASSERT_NE(session_->Finished(), nullptr);
  EXPECT_EQ(session_->Finished()->Rows().size(), 6u);
  EXPECT_EQ(session_->Statistics().compared, 6);
}

// Stopped by the user, the run keeps the sheets compared so far; cleared,
// it holds nothing, whatever was still being computed.
TEST_F(SessionTest, CancelKeepsWhatWasComparedAndClearDropsAll) {
  session_->SetBasis({Reference(50), PairingMode::Position, std::nullopt});
  std::vector<std::string> sheets;
  for (int k = 0; k < 400; ++k)
    sheets.push_back(Sheet(k));
  session_->Add(sheets);
  RunOne();  // the sheets named: the computation starts
  ASSERT_EQ(session_->Sheets().size(), sheets.size());
  session_->Cancel();
  Settle();
  EXPECT_EQ(session_->Sheets().size(), session_->Rows().size());
  EXPECT_LT(session_->Rows().size(), sheets.size());

  session_->Add({Sheet(500)});
  session_->Clear();
  Settle();
  EXPECT_TRUE(session_->Sheets().empty());
  EXPECT_TRUE(session_->Rows().empty());
  EXPECT_EQ(session_->Statistics().given, 0);
}

}  // namespace
}  // namespace korimo::testing
