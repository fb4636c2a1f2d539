#include "ui/RunPage.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>

#include <cstdlib>
#include <fstream>

#include "cli/RunCommand.h"
#include "core/Encoding.h"
#include "ui/FolderWatcher.h"
#include "ui/ReportControls.h"
#include "ui/RunStatisticsFrame.h"
#include "ui/RunTableModel.h"
#include "ui/StaticCaptions.h"
#include "ui/VerificationPage.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

const std::string kSamples = KORIMO_SAMPLES_DIR;
const std::string kReference = kSamples + "/wedge-reference.txt";
const std::string kRun = kSamples + "/run";

class RunPageTest : public WindowTest {
 protected:
  RunPage& run() { return window().runPage(); }
  const SheetRowRefs& rows() { return run().Session().Rows(); }
  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run().Session().Busy(); }, 20000));
  }
  // The bundled wedge run against its Reference, dropped on the page.
  void AddBundledRun() {
    Choose(DataSet::Reference, kReference);
    Show(kRunPageTab);
    EXPECT_EQ(Offer(&run(), {kRun}), 2);
    Settle();
  }
  std::size_t SheetNamed(const std::string& name) {
    for (std::size_t i = 0; i < rows().size(); ++i) {
      if (rows()[i]->file == kRun + "/" + name)
        return i;
    }
    ADD_FAILURE() << name;
    return 0;
  }
  double AverageDeAb(std::size_t sheet) {
    return rows()[sheet]->figures[static_cast<std::size_t>(RunFigure::AvgDeAb)].value_or(-1);
  }
};

// Thirty wedge sheets and a note: sheet-23, measured from the other end,
// is excluded, the note refused, the rest compared; the table shows each.
TEST_F(RunPageTest, BundledRunGivesEveryStatus) {
  AddBundledRun();
  ASSERT_EQ(rows().size(), 31u);
  EXPECT_EQ(rows()[SheetNamed("sheet-23.txt")]->status, SheetStatus::Excluded);
  EXPECT_EQ(rows()[SheetNamed("tally.txt")]->status, SheetStatus::Refused);
  EXPECT_EQ(run().Session().Statistics().compared, 29);
  const QAbstractItemModel& table = *run().table->model();
  ASSERT_EQ(table.rowCount(), 31);
  EXPECT_EQ(Text(table.index(22, 1).data().toString()), "sheet-23.txt");
  EXPECT_EQ(Text(table.index(22, 3).data().toString()), "除外");
  EXPECT_EQ(Text(table.index(30, 3).data().toString()), "拒否");
}

// "基準にする" reads the sheet as the Reference and computes the run again:
// that sheet then differs from it by nothing. "File1 に開く" loads File1
// and shows the chart page; clear-all empties the run.
TEST_F(RunPageTest, RowActionsLoadTheWindowsFilesAndClearAllEmptiesTheRun) {
  AddBundledRun();
  const std::size_t fifth = SheetNamed("sheet-05.txt");
  EXPECT_GT(AverageDeAb(fifth), 0.1);
  run().SelectSheet(fifth);
  QTest::mouseClick(run().referenceButton, Qt::LeftButton);
  EXPECT_EQ(state().inputs.paths[Index(DataSet::Reference)], kRun + "/sheet-05.txt");
  Settle();
  ASSERT_EQ(rows().size(), 31u);
  EXPECT_EQ(AverageDeAb(fifth), 0);
  EXPECT_GT(AverageDeAb(SheetNamed("sheet-30.txt")), 0.1);

  run().SelectSheet(SheetNamed("sheet-10.txt"));
  QTest::mouseClick(run().file1Button, Qt::LeftButton);
  EXPECT_EQ(state().inputs.paths[Index(DataSet::File1)], kRun + "/sheet-10.txt");
  EXPECT_EQ(window().TabStrip1().currentIndex(), kChartPageTab);

  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  Settle();
  EXPECT_TRUE(run().Session().Sheets().empty());
  EXPECT_EQ(run().table->model()->rowCount(), 0);
}

// With a criteria set and job fields, the page's report is byte for byte
// the batch tool's for the same run and creation time; its CSV is CP932
// with the window's Japanese reasons; a list saved over a sheet is refused.
TEST_F(RunPageTest, SavesMatchTheBatchToolAndSpareTheInputs) {
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  window().verificationPage().setChoice->setCurrentIndex(1);
  emit window().verificationPage().setChoice->activated(1);
  window().reportControls().title().setText(QStringLiteral("第3便"));
  AddBundledRun();
  // 28 of 29 compared sheets pass: the run fails unless 95 % is enough.
  EXPECT_EQ(run().statistics->verdict->Caption(), "不合格");
  run().minPassBox->setValue(95);
  EXPECT_EQ(run().statistics->verdict->Caption(), "合格");

  platform_.saveAnswers = {dir_.File("run"), dir_.File("run"), kRun + "/sheet-01.txt"};
  QTest::mouseClick(run().reportButton, Qt::LeftButton);
  QTest::mouseClick(run().csvButton, Qt::LeftButton);
  QTest::mouseClick(run().saveListButton, Qt::LeftButton);
  RunCommandOptions cli;
  cli.reference = kReference;
  cli.sheets = {kRun};
  cli.order = RunOrder::Name;
  cli.checks = {*FindBuiltInSet("iso12647-7-2016")};
  cli.metric = Metric::DeAb;
  cli.format = RunFormat::Html;
  cli.job.title = "第3便";
  cli.minPass = 95;
  const std::string report = RunSheets(cli).output;
  ASSERT_EQ(platform_.writtenFiles.count(dir_.File("run.html")), 1u);
  EXPECT_TRUE(platform_.writtenFiles[dir_.File("run.html")] == report);
  EXPECT_EQ(platform_.openedDocuments, Strings{dir_.File("run.html")});

  const std::string csv = platform_.writtenFiles[dir_.File("run.csv")];
  EXPECT_EQ(csv.find("BEGIN_DATAの行がありません"), std::string::npos);
  EXPECT_NE(Cp932ToUtf8(csv).find(",refused,BEGIN_DATAの行がありません,"), std::string::npos);
  EXPECT_EQ(platform_.writtenFiles.size(), 2u);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("refusing to overwrite an input file"), std::string::npos);
  ::unsetenv("SOURCE_DATE_EPOCH");
}

// A sheet the instrument writes in two halves a second apart is read once,
// whole; when it changes afterwards it is read again.
TEST_F(RunPageTest, WatchedFolderTakesOnlyCompleteFiles) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(20)));
  const std::string folder = dir_.File("watched");
  std::filesystem::create_directory(folder);
  dialogs_.folderAnswers.push_back(folder);
  QTest::mouseClick(run().watchButton, Qt::LeftButton);
  ASSERT_TRUE(run().Watcher().Watching());
  QSignalSpy handed(&run().Watcher(), &FolderWatcher::filesComplete);

  const std::string whole = ReadAll(Chart("whole.txt", Offsets(std::vector<double>(20, 1))));
  const std::string sheet = folder + "/a.txt";
  std::ofstream(sheet, std::ios::binary) << whole.substr(0, whole.size() / 2);
  QTimer::singleShot(1000, Qt::PreciseTimer, [&] {
    std::ofstream(sheet, std::ios::binary | std::ios::app) << whole.substr(whole.size() / 2);
  });
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return rows().size() == 1 && !run().Session().Busy(); }, 10000));
  EXPECT_EQ(handed.count(), 1);
  EXPECT_EQ(rows()[0]->paired, 20);
  EXPECT_NEAR(AverageDeAb(0), 1, 1e-5);

  WriteChart(sheet, Offsets(std::vector<double>(20, 2)));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return handed.count() == 2 && !run().Session().Busy(); }, 10000));
  ASSERT_EQ(rows().size(), 1u);
  EXPECT_NEAR(AverageDeAb(0), 2, 1e-5);
}

}  // namespace
}  // namespace korimo::testing
