#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>

#include <sys/resource.h>
#include <algorithm>
#include <csignal>
#include <fstream>

#include "color/ColorConvert.h"
#include "core/TextFields.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/QtPlatform.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

std::string ReadBytes(const std::string& path) {
  return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

template <typename Map>
Strings Keys(const Map& map) {
  Strings keys;
  for (const auto& entry : map)
    keys.push_back(entry.first);
  return keys;
}

// The window shown offscreen, on its data page unless a test turns back.
class OutputTest : public WindowTest {
 protected:
  void SetUp() override { ShowPage(1); }
  void ShowPage(int page) {
    Show();
    window().TabStrip1().setCurrentIndex(page);
    QCoreApplication::processEvents();
  }
  FlexGrid* Grid() { return window().dataPage().FlexG; }

  void ClickHeading(int col) {
    QHeaderView* header = Grid()->horizontalHeader();
    Grid()->scrollTo(Grid()->model()->index(0, col));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                             header->height() / 2));
  }
  void RightClick(QWidget& w) { QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(5, 5)); }
  // The marked headings, as "column:text", and the patch numbers of the rows.
  std::string Sorted() {
    std::string text;
    for (int c = 0; c < Grid()->Cols(); ++c) {
      if (!Grid()->Text(0, c).ends_with("\u3000"))
        text += std::to_string(c) + ":" + Grid()->Text(0, c);
    }
    for (int r = 1; r < Grid()->Rows(); ++r)
      text += " " + std::to_string(std::stoi(Grid()->Text(r, 0)));
    return text;
  }
};

TEST_F(OutputTest, HeadingClicksSortTheGridAndMarkTheHeading) {
  const struct {
    std::vector<double> d;
    bool withReference;
    std::vector<int> clicks;
    std::string sorted;
  } cases[] = {
      {{3, 1, 4, 2}, true, {0, 0}, "0:No.▼ 4 3 2 1"},
      {{3, 1, 4, 2}, true, {0, 0, 1}, "1:ID▲ 1 2 3 4"},  // "No." is the key of "ID"
      {{3, 1, 4, 1.5, 2}, true, {9}, "9:⊿E00▲ 2 4 5 1 3"},
      {{3, 1, 4, 1.5, 2}, true, {9, 9}, "9:⊿E00▼ 3 1 5 4 2"},
      {{3, 1, 4, 1.5, 2}, true, {9, 14}, "14:⊿E00▲ 1 2 3 4 5"},
      {{2, 2, 1}, true, {8}, "8:⊿E▲ 3 2 1"},  // ties in exchange order
      {{2, 2, 1}, true, {8, 8}, "8:⊿E▼ 1 2 3"},
      {{3, 1, 4, 2}, false, {5}, "5:L1▲ 1 2 3 4"},  // only File1: patch order
      {{3, 1, 4, 2}, false, {5, 5}, "5:L1▼ 4 3 2 1"},
  };
  for (const auto& c : cases) {
    window_ = std::make_unique<Form1>(platform_);
    ShowPage(1);
    if (c.withReference)
      Choose(0, Chart("ref.txt", Flat(static_cast<int>(c.d.size()))));
    Choose(1, Chart("f1.txt", Offsets(c.d)));
    for (int col : c.clicks)
      ClickHeading(col);
    EXPECT_EQ(Sorted(), c.sorted);
  }
}

TEST_F(OutputTest, SwatchesShowTheVisibleRowsColoursInGridOrder) {
  PictureBox& strip = window().PictD();
  const int h = static_cast<int>(
      std::nearbyint(static_cast<double>(strip.ScaleHeight()) / state().GridVisibleRows));
  const auto expectSwatches = [&](int top, int count) {
    for (int g = 0; g < count; ++g) {
      const int r = top + g, bottom = std::min(h * g + h - 1, strip.ScaleHeight() - 1);
      const std::uint32_t colour =
          LabToRgb(ParseSingle(Grid()->Text(r, 2)), ParseSingle(Grid()->Text(r, 3)),
                   ParseSingle(Grid()->Text(r, 4)));
      EXPECT_EQ(strip.Pixel(0, h * g), colour) << top << "+" << g;
      EXPECT_EQ(strip.Pixel(strip.ScaleWidth() - 1, bottom), colour) << top << "+" << g;
    }
  };
  std::vector<double> d;  // every patch at its own L*, out of order
  for (int i = 0; i < 80; ++i)
    d.push_back((i * 37) % 80 - 30);
  Choose(0, Chart("ref.txt", Offsets(d)));
  ClickHeading(2);
  ClickHeading(2);  // L0 descending: the strip follows the rows
  expectSwatches(1, state().GridVisibleRows);
  Grid()->verticalScrollBar()->setValue(20);
  ASSERT_EQ(Grid()->TopRow(), 21);
  expectSwatches(21, state().GridVisibleRows);

  Grid()->ScrollToRow(1);
  const std::uint32_t stale = strip.Pixel(0, 3 * h);
  Choose(0, Chart("few.txt", Offsets({-30, -29, -28})));
  expectSwatches(1, 3);
  EXPECT_EQ(strip.Pixel(0, 3 * h), stale);  // only as many boxes as rows are painted
}

TEST_F(OutputTest, ClosingTheWindowAfterTheGridShrankIsSafe) {
  Show();
  Choose(0, Chart("ref.txt", Flat(80)));
  Grid()->ScrollToRow(60);
  Choose(0, Chart("few.txt", Flat(3)));
  window_.reset();  // the grid reports its last scroll while it is torn down
}

TEST_F(OutputTest, GridMenuCopiesEveryRowAndSavesTheResults) {
  RightClick(*Grid()->viewport());
  Choose(0, Chart("ref.txt", Flat(2)));
  Choose(1, Chart("f1.txt", Offsets({1, 2})));
  Choose(2, Chart("f2.txt", {{"Q1", 50, 0, 0}, {"Q2", 0, 0, 0}}));
  platform_.menuAnswers = {0, 1};
  platform_.saveAnswers = {dir_.File("menu")};
  RightClick(*Grid()->viewport());
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(platform_.log, (Strings{"clear", "text"}));
  EXPECT_EQ(platform_.clipboardText,
            "No.　\tID　\tL0　\ta0　\tb0　\tL1　\ta1　\tb1　\t⊿E　\t⊿E00　\t"
            "L2　\ta2　\tb2　\t⊿E　\t⊿E00　\r\n"
            "    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t"
            "50.00\t0.00\t0.00\t0.00\t0.00\r\n"
            "    2\t   P2\t50.00\t0.00\t0.00\t52.00\t0.00\t0.00\t2.00\t1.99\t\t\t\t\t\r\n");
  RightClick(*Grid()->horizontalHeader()->viewport());
  EXPECT_EQ(Keys(platform_.writtenFiles), Strings{dir_.File("menu.txt")});
}

TEST_F(OutputTest, ResultsExportWritesCp932InGridOrderUnderATxtName) {
  LoadPair({1, 3, 2});
  ClickHeading(8);
  ClickHeading(8);
  platform_.saveAnswers = {dir_.File("results"), "/out/b.TXT", "/out/c.Txt", "/out/d.csv",
                           "/ro/results"};
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  for (int i = 0; i < 5; ++i)
    QTest::mouseClick(window().dataPage().But_DataR, Qt::LeftButton);
  EXPECT_EQ(platform_.saveFilters, Strings(5, "テキスト(*.txt)|*.txt"));
  EXPECT_EQ(Keys(platform_.writtenFiles),
            (Strings{"/out/b.TXT", "/out/c.Txt", "/out/d.csv.txt", dir_.File("results.txt")}));
  EXPECT_EQ(platform_.writtenFiles[dir_.File("results.txt")],
            "\x8a\xee\x8f\x80:" + dir_.File("ref.txt") + "\r\nFile1:" + dir_.File("f1.txt") +
                "\r\nNo.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t\x87\x99"
                "E\t\x87\x99"
                "E00\r\n"
                "    2\t   P2\t50.00\t0.00\t0.00\t53.00\t0.00\t0.00\t3.00\t2.98\t\t\r\n"
                "    3\t   P3\t50.00\t0.00\t0.00\t52.00\t0.00\t0.00\t2.00\t1.99\t\t\r\n"
                "    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t\t\r\n");
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("Permission denied"), std::string::npos);
}

// The desktop's own file writing; only the save dialog and the message box
// are answered by the test.
class DiskPlatform : public QtPlatform {
 public:
  DiskPlatform() : QtPlatform(nullptr, ProgramVersion{1, 0, 0}) {}
  std::string saveAnswer;
  Strings messages;
  std::optional<std::string> SaveFileDialog(std::string_view) override { return saveAnswer; }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
};

TEST(ExportToDiskTest, AnIncompleteWriteKeepsTheOldFileAndIsReported) {
  TempDir dir("disk");
  DiskPlatform platform;
  Form1 window(platform);
  WriteChart(dir.File("ref.txt"), Flat(40));
  WriteChart(dir.File("f1.txt"), Offsets(std::vector<double>(40, 4)));
  window.form().files.Lb_File_OLEDragDrop(0, {dir.File("ref.txt")});
  window.form().files.Lb_File_OLEDragDrop(1, {dir.File("f1.txt")});
  platform.saveAnswer = dir.File("results.txt");
  std::ofstream(platform.saveAnswer) << "old content";

  // Running as root, permissions stop nothing; a file size limit does.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 512;
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  QTest::mouseClick(window.dataPage().But_DataR, Qt::LeftButton);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(ReadBytes(platform.saveAnswer), "old content");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find(platform.saveAnswer), std::string::npos);

  QTest::mouseClick(window.dataPage().But_DataR, Qt::LeftButton);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(ReadBytes(platform.saveAnswer).starts_with("\x8a\xee\x8f\x80:"));
}

TEST_F(OutputTest, CopyButtonsCopyTheirOwnFiguresAroundTheMessage) {
  ShowPage(0);
  const auto click = [&](QPushButton* button) {
    platform_.log.clear();
    QTest::mouseClick(button, Qt::LeftButton);
  };
  click(window().statisticsFrame(0).CopyDe2K);  // before any load
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  std::vector<double> d;
  for (int i = 1; i <= 20; ++i)
    d.push_back(0.1 * i);
  LoadPair(d);
  click(window().statisticsFrame(0).CopyDe);
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
  EXPECT_EQ(platform_.clipboardText, "   1.05\t   2.00\t   0.20\t   2.00");
  click(window().statisticsFrame(0).CopyDe2K);
  EXPECT_EQ(platform_.clipboardText, Cap(Ctl::Lb_De2K, 0) + "\t" + Cap(Ctl::Lb_De2K, 1) + "\t" +
                                         Cap(Ctl::Lb_Best2K, 0) + "\t" + Cap(Ctl::Lb_Wors2K, 0));
  EXPECT_NE(platform_.clipboardText, "   1.05\t   2.00\t   0.20\t   2.00");
  click(window().statisticsFrame(1).CopyDe);
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  const std::string de = "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました";
  const std::string de00 = "平均⊿E00  最大⊿E00  Best10%, 95%\r\n\r\nコピーしました";
  EXPECT_EQ(platform_.messages, (Strings{de00, de, de00, de}));

  click(window().chartPage().But_CPArea[0]);  // the hint has no figures
  EXPECT_EQ(platform_.log, Strings{"clear"});
  window().SetCaption(Ctl::Lb_DeBox, 1, "P1-P2:P5-P6  ⊿E=1.05 Max=2.00  ⊿E00=0.98 Max=1.90");
  click(window().chartPage().But_CPArea[1]);
  EXPECT_EQ(platform_.log, (Strings{"clear", "text", "message"}));
  EXPECT_EQ(platform_.clipboardText, "1.05 \t2.00 \r\n0.98 \t1.90");
  EXPECT_EQ(platform_.messages.back(),
            "平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました");
}

TEST_F(OutputTest, PictureMenusCopyAndSaveHistogramsAndChartCells) {
  ShowPage(0);
  // dE*ab 0.1 ... 5.0: top 5, bins of 0.5; 5.0 itself falls into bin 10.
  LoadPair({0.1, 0.2, 0.3, 0.7, 1.2, 1.3, 2.2, 4.6, 5.0});
  const std::string bins =
      "\r\n0.5\t3\r\n1.0\t1\r\n1.5\t2\r\n2.0\t0\r\n2.5\t1\r\n3.0\t0\r\n3.5\t0\r\n4.0\t0\r\n"
      "4.5\t0\r\n5.0\t1\r\n";
  const QImage picture = window().PictG(0).Image();
  const ChartGeometry& g = state().chart;
  ASSERT_GT(g.CellX(0, 0) + g.CellY(0, 0), 0);
  const QImage cells = window().PictPat(0).Image().copy(
      g.CellX(0, 0), g.CellY(0, 0), g.ChartCols * g.CellSize, g.ChartRows * g.CellSize);
  platform_.log.clear();
  platform_.menuAnswers = {0, 1, 1, 1, 0, 1, 1};
  platform_.saveAnswers = {"/out/h", "/out/b.BMP", "/ro/h", "/out/chart", "/out/k"};
  platform_.failWrites["/ro/h-ΔE.bmp"] = "No space left on device";
  for (int i = 0; i < 4; ++i)
    RightClick(window().PictG(0));
  EXPECT_EQ(platform_.clipboardText, "ΔE\tパッチ数" + bins);
  EXPECT_EQ(ToQImage(platform_.clipboardBitmap.value()), picture);
  for (int i = 0; i < 2; ++i)
    RightClick(window().PictPat(0));
  QTest::mouseClick(window().chartPage().Opt_de[1], Qt::LeftButton);
  RightClick(window().PictG(0));

  EXPECT_EQ(platform_.log, (Strings{"clear", "bitmap+text", "message", "clear", "bitmap"}));
  EXPECT_EQ(ToQImage(platform_.clipboardBitmap.value()), cells);
  EXPECT_EQ(platform_.saveFilters, Strings(5, "ビットマップ(*.bmp)|*.bmp"));
  EXPECT_EQ(Keys(platform_.savedBitmaps),
            (Strings{"/out/b-ΔE.bmp", "/out/chart.bmp", "/out/h-ΔE.bmp", "/out/k-ΔE2K.bmp"}));
  EXPECT_EQ(ToQImage(platform_.savedBitmaps["/out/h-ΔE.bmp"]), picture);
  EXPECT_EQ(ToQImage(platform_.savedBitmaps["/out/chart.bmp"]), cells);
  EXPECT_EQ(Keys(platform_.writtenFiles),
            (Strings{"/out/b-ΔE.txt", "/out/h-ΔE.txt", "/out/k-ΔE2K.txt"}));
  EXPECT_EQ(platform_.writtenFiles["/out/h-ΔE.txt"],
            "\x83\xa2"
            "E\t\x83\x70\x83\x62\x83\x60\x90\x94" +
                bins + "\r\n");
  EXPECT_TRUE(
      platform_.writtenFiles["/out/k-ΔE2K.txt"].starts_with("\x83\xa2"
                                                            "E2K\t"));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/h-ΔE.bmp"), std::string::npos);
}

TEST_F(OutputTest, QuestionMarkOpensTheManualBesideTheProgram) {
  platform_.programFolder = "/opt/korimo tools";
  QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
  EXPECT_EQ(platform_.openedDocuments, Strings{"/opt/korimo tools/Korimo使用説明書.pdf"});
}

}  // namespace
}  // namespace korimo::testing
