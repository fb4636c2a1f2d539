#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include <sys/resource.h>
#include <csignal>
#include <deque>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <utility>

#include "color/ColorConvert.h"
#include "core/TextFields.h"
#include "ui/BitmapConvert.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/PictureBox.h"
#include "ui/QtPlatform.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr std::uint32_t kWhite = 0xFFFFFF;

// Patches at L* = 50, a* = d[i], b* = 0: against a flat Reference at 50 their
// dE*ab is d[i] while their dE00 is much smaller.
std::vector<Patch> ChromaOffsets(const std::vector<double>& d) {
  std::vector<Patch> out;
  for (std::size_t i = 0; i < d.size(); ++i)
    out.push_back({"P" + std::to_string(i + 1), 50, d[i], 0});
  return out;
}

// Every patch a clearly different colour, so that a swatch or a pixel taken
// from the wrong row or cell shows.
std::vector<Patch> Rainbow(int n) {
  std::vector<Patch> out;
  for (int i = 0; i < n; ++i) {
    out.push_back({"C" + std::to_string(i + 1), 20.0 + (i * 7) % 70, ((i * 13) % 90) - 45.0,
                   ((i * 29) % 90) - 45.0});
  }
  return out;
}

std::vector<double> Steps(int n, double step) {
  std::vector<double> d;
  for (int i = 1; i <= n; ++i)
    d.push_back(step * i);
  return d;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The window shown offscreen on its data page, with helpers that press the
// mouse where a user would.
class OutputWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    ShowPage(1);
  }

  void ShowPage(int page) {
    window().TabStrip1().setCurrentIndex(page);
    QCoreApplication::processEvents();
  }

  FlexGrid* Grid() { return window().dataPage().FlexG; }

  void ClickHeading(int col) {
    QHeaderView* header = Grid()->horizontalHeader();
    ASSERT_GT(header->height(), 0);
    if (header->sectionViewportPosition(col) < 0 ||
        header->sectionViewportPosition(col) + header->sectionSize(col) > header->width()) {
      Grid()->horizontalScrollBar()->setValue(header->sectionPosition(col));
    }
    const QPoint centre(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
  }

  QPoint CellCentre(int row, int col) {
    const QModelIndex index = Grid()->model()->index(row - 1, col);
    Grid()->scrollTo(index);
    return Grid()->visualRect(index).center();
  }

  void ClickCell(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Grid()->viewport(), button, {}, CellCentre(row, col));
  }

  void RightClickGrid() {
    QTest::mouseClick(Grid()->viewport(), Qt::RightButton, {}, QPoint(40, 40));
  }

  Strings Column(int col) {
    Strings texts;
    for (int r = 1; r < Grid()->Rows(); ++r)
      texts.push_back(Grid()->Text(r, col));
    return texts;
  }

  std::vector<int> PatchOrder() {
    std::vector<int> order;
    for (const std::string& text : Column(0))
      order.push_back(std::stoi(text));
    return order;
  }

  Strings Headings() {
    Strings texts;
    for (int c = 0; c < Grid()->Cols(); ++c)
      texts.push_back(Grid()->Text(0, c));
    return texts;
  }

  // Headings that carry a sort mark, as "index:text".
  Strings MarkedHeadings() {
    Strings marked;
    const Strings all = Headings();
    for (std::size_t c = 0; c < all.size(); ++c) {
      if (!all[c].ends_with("\u3000"))
        marked.push_back(std::to_string(c) + ":" + all[c]);
    }
    return marked;
  }

  void LoadReferenceAndFile1(const std::vector<double>& offsets) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(offsets.size()))));
    Choose(1, Chart("f1.txt", Offsets(offsets)));
  }

  void RightClick(QWidget& widget, QPoint at = QPoint(5, 5)) {
    QTest::mouseClick(&widget, Qt::RightButton, {}, at);
  }

  static void Move(QWidget& widget, QPoint at, Qt::MouseButtons held,
                   Qt::KeyboardModifiers modifiers) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::NoButton,
                     held, modifiers);
    QApplication::sendEvent(&widget, &move);
  }
};

// ---------------------------------------------------------------------------
// Sorting by real presses on the grid's headings.

using GridHeadingSortTest = OutputWindowTest;

TEST_F(GridHeadingSortTest, NumberHeadingTogglesPatchOrderAndIdContinuesItsKey) {
  LoadReferenceAndFile1({3, 1, 4, 2});
  ClickHeading(0);
  EXPECT_EQ(MarkedHeadings(), Strings{"0:No.▲"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{1, 2, 3, 4}));
  ClickHeading(0);
  EXPECT_EQ(MarkedHeadings(), Strings{"0:No.▼"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{4, 3, 2, 1}));
  // "No." is stored as key 1, the key of "ID", so "ID" reverses the
  // direction and takes the mark.
  ClickHeading(1);
  EXPECT_EQ(MarkedHeadings(), Strings{"1:ID▲"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{1, 2, 3, 4}));
  ClickHeading(1);
  EXPECT_EQ(MarkedHeadings(), Strings{"1:ID▼"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{4, 3, 2, 1}));
}

TEST_F(GridHeadingSortTest, IdAfterOneNumberClickGoesDescending) {
  LoadReferenceAndFile1({3, 1, 2});
  ClickHeading(0);
  ClickHeading(1);
  EXPECT_EQ(MarkedHeadings(), Strings{"1:ID▼"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(state().GridSortKey, -1);
}

TEST_F(GridHeadingSortTest, DeltaE00HeadingSortsBothWaysAndTakesTheMark) {
  LoadReferenceAndFile1({3, 1, 4, 1.5, 2});
  ClickHeading(0);
  ClickHeading(9);
  EXPECT_EQ(MarkedHeadings(), Strings{"9:⊿E00▲"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{2, 4, 5, 1, 3}));
  ClickHeading(9);
  EXPECT_EQ(MarkedHeadings(), Strings{"9:⊿E00▼"});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{3, 1, 5, 4, 2}));
  // The second "⊿E00" (pair 1) is a different key.
  ClickHeading(14);
  EXPECT_EQ(MarkedHeadings(), Strings{"14:⊿E00▲"});
}

TEST_F(GridHeadingSortTest, TiesFollowTheExchangeOrderBothWays) {
  LoadReferenceAndFile1({2, 2, 1});
  ClickHeading(8);
  EXPECT_EQ(PatchOrder(), (std::vector<int>{3, 2, 1}));
  ClickHeading(8);
  EXPECT_EQ(PatchOrder(), (std::vector<int>{1, 2, 3}));
}

// Only the Reference's count is sorted, so without it a heading only picks
// the direction of patch order.
TEST_F(GridHeadingSortTest, WithoutAReferenceHeadingsOnlyChooseTheDirection) {
  Choose(1, Chart("f1.txt", Offsets({3, 1, 4, 2})));
  ClickHeading(5);
  EXPECT_EQ(PatchOrder(), (std::vector<int>{1, 2, 3, 4}));
  ClickHeading(5);
  EXPECT_EQ(PatchOrder(), (std::vector<int>{4, 3, 2, 1}));
  ClickHeading(6);
  EXPECT_EQ(PatchOrder(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(GridHeadingSortTest, ClickOnADataCellSelectsTheWholeRowAndSortsNothing) {
  LoadReferenceAndFile1({3, 1, 2, 5, 4});
  ClickHeading(8);
  const Strings before = Column(0);
  // A right press on a heading must not leave a pending heading click for
  // the next left click into the cells.
  QHeaderView* header = Grid()->horizontalHeader();
  QTest::mousePress(header->viewport(), Qt::RightButton, {},
                    QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
  QTest::mouseRelease(header->viewport(), Qt::RightButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
  ClickCell(3, 6);
  EXPECT_EQ(Column(0), before);
  EXPECT_EQ(state().GridSortKey, 8);
  EXPECT_EQ(Grid()->Col(), 0);
  EXPECT_EQ(Grid()->Row(), 3);
  std::set<std::pair<int, int>> selected;
  for (const QModelIndex& index : Grid()->selectionModel()->selectedIndexes())
    selected.insert({index.row() + 1, index.column()});
  std::set<std::pair<int, int>> wholeRow;
  for (int c = 0; c < Grid()->Cols(); ++c)
    wholeRow.insert({3, c});
  EXPECT_EQ(selected, wholeRow);
}

TEST_F(GridHeadingSortTest, SortOrderSurvivesClearAllAndOrdersTheNextLoad) {
  LoadReferenceAndFile1({1, 3, 2});
  ClickHeading(8);
  ClickHeading(8);
  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  EXPECT_EQ(Grid()->Rows(), 1);
  EXPECT_EQ(MarkedHeadings(), Strings{"8:⊿E▼"});
  LoadReferenceAndFile1({1, 3, 2, 4});
  EXPECT_EQ(PatchOrder(), (std::vector<int>{4, 2, 3, 1}));
}

// ---------------------------------------------------------------------------
// The swatch strip beside the first column.

class GridSwatchTest : public OutputWindowTest {
 protected:
  PictureBox& Strip() { return window().PictD(); }
  int SwatchHeight() {
    return static_cast<int>(
        std::nearbyint(static_cast<double>(Strip().ScaleHeight()) / state().GridVisibleRows));
  }
  std::uint32_t RowColour(int row) {
    return LabToRgb(ParseSingle(Grid()->Text(row, 2)), ParseSingle(Grid()->Text(row, 3)),
                    ParseSingle(Grid()->Text(row, 4)));
  }
  // Both corners of swatch g, as far as the strip reaches.
  std::pair<std::uint32_t, std::uint32_t> Swatch(int g) {
    const int h = SwatchHeight();
    const int bottom = std::min(h * g + h - 1, Strip().ScaleHeight() - 1);
    return {Strip().Pixel(0, h * g), Strip().Pixel(Strip().ScaleWidth() - 1, bottom)};
  }
  void ExpectSwatchesFrom(int top, int count) {
    for (int g = 0; g < count; ++g) {
      const std::uint32_t colour = RowColour(top + g);
      EXPECT_EQ(Swatch(g), std::make_pair(colour, colour)) << "swatch " << g;
    }
  }
};

TEST_F(GridSwatchTest, SwatchesShowTheColoursOfTheVisibleRowsInGridOrder) {
  Choose(0, Chart("ref.txt", Rainbow(80)));
  ClickHeading(2);
  ClickHeading(2);  // L0 descending: the strip follows the rows, not the patches
  const int visible = state().GridVisibleRows;
  ASSERT_GT(visible, 5);
  ASSERT_GT(SwatchHeight(), 2);
  ASSERT_EQ(Grid()->TopRow(), 1);
  ExpectSwatchesFrom(1, visible);
  EXPECT_NE(RowColour(1), RowColour(2));
}

TEST_F(GridSwatchTest, ScrollingRepaintsTheStripFromTheNewTopRow) {
  Choose(0, Chart("ref.txt", Rainbow(80)));
  const int visible = state().GridVisibleRows;
  Grid()->ScrollToRow(21);
  ASSERT_EQ(Grid()->TopRow(), 21);
  ExpectSwatchesFrom(21, visible);
  Grid()->verticalScrollBar()->setValue(5);
  ASSERT_EQ(Grid()->TopRow(), 6);
  ExpectSwatchesFrom(6, visible);
}

TEST_F(GridSwatchTest, FewerPatchesThanVisibleRowsPaintOnlyThatMany) {
  Choose(0, Chart("ref.txt", Rainbow(3)));
  ExpectSwatchesFrom(1, 3);
  EXPECT_EQ(Swatch(3), std::make_pair(kWhite, kWhite));
  EXPECT_EQ(Strip().Pixel(0, Strip().ScaleHeight() - 1), kWhite);
}

// ---------------------------------------------------------------------------
// The grid's right-click menu.

using GridMenuTest = OutputWindowTest;

TEST_F(GridMenuTest, ItemsAreEnabledOnlyWhileFile1OrFile2IsLoaded) {
  RightClickGrid();
  Choose(0, Chart("ref.txt", Flat(3)));
  RightClickGrid();
  Choose(1, Chart("f1.txt", Flat(3)));
  RightClickGrid();
  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  Choose(2, Chart("f2.txt", Flat(3)));
  RightClickGrid();
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(state().MenuSource, 3);
  EXPECT_EQ(state().MenuIndex, 0);
  // A left click opens nothing; a right click on the headings does.
  ClickCell(1, 3);
  QHeaderView* header = Grid()->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::RightButton, {},
                    QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
  EXPECT_EQ(platform_.menuShownEnabled.size(), 5u);
}

TEST_F(GridMenuTest, CopyPutsEveryRowOnTheClipboardTabSeparated) {
  Choose(0, Chart("ref.txt", Flat(2)));
  Choose(1, Chart("f1.txt", Offsets({1, 2})));
  Choose(2, Chart("f2.txt", {{"Q1", 50, 0, 0}, {"Q2", 0, 0, 0}}));
  platform_.menuAnswers = {0};
  RightClickGrid();
  EXPECT_EQ(platform_.log, (Strings{"clear", "text"}));
  EXPECT_EQ(platform_.clipboardText,
            "No.　\tID　\tL0　\ta0　\tb0　\tL1　\ta1　\tb1　\t⊿E　\t⊿E00　\t"
            "L2　\ta2　\tb2　\t⊿E　\t⊿E00　\r\n"
            "    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t"
            "50.00\t0.00\t0.00\t0.00\t0.00\r\n"
            "    2\t   P2\t50.00\t0.00\t0.00\t52.00\t0.00\t0.00\t2.00\t1.99\t\t\t\t\t\r\n");
}

TEST_F(GridMenuTest, SaveRunsTheResultsExport) {
  LoadReferenceAndFile1({1, 2});
  platform_.menuAnswers = {1};
  platform_.saveAnswers = {dir_.File("menu")};
  RightClickGrid();
  EXPECT_EQ(platform_.saveFilters, Strings{"テキスト(*.txt)|*.txt"});
  ASSERT_EQ(platform_.writtenFiles.count(dir_.File("menu.txt")), 1u);
  EXPECT_TRUE(platform_.writtenFiles[dir_.File("menu.txt")].ends_with("1.99\t\t\r\n"));
}

// ---------------------------------------------------------------------------
// "結果保存".

class ExportResultsTest : public OutputWindowTest {
 protected:
  void ClickSave() { QTest::mouseClick(window().dataPage().But_DataR, Qt::LeftButton); }
};

TEST_F(ExportResultsTest, WritesCp932RowsInTheGridsOrder) {
  LoadReferenceAndFile1({1, 3, 2});
  ClickHeading(8);
  ClickHeading(8);
  platform_.saveAnswers = {dir_.File("results")};
  ClickSave();
  EXPECT_EQ(platform_.saveFilters, Strings{"テキスト(*.txt)|*.txt"});
  ASSERT_EQ(platform_.writtenFiles.size(), 1u);
  const std::string expected =
      "\x8a\xee\x8f\x80:" + dir_.File("ref.txt") + "\r\nFile1:" + dir_.File("f1.txt") +
      "\r\n"
      "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t\x87\x99"
      "E\t\x87\x99"
      "E00\r\n"
      "    2\t   P2\t50.00\t0.00\t0.00\t53.00\t0.00\t0.00\t3.00\t2.98\t\t\r\n"
      "    3\t   P3\t50.00\t0.00\t0.00\t52.00\t0.00\t0.00\t2.00\t1.99\t\t\r\n"
      "    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t\t\r\n";
  EXPECT_EQ(platform_.writtenFiles[dir_.File("results.txt")], expected);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(ExportResultsTest, TxtIsAppendedUnlessTheNameEndsInIt) {
  LoadReferenceAndFile1({1});
  platform_.saveAnswers = {"/out/a", "/out/b.TXT", "/out/c.Txt", "/out/d.csv"};
  for (int i = 0; i < 4; ++i)
    ClickSave();
  Strings names;
  for (const auto& [name, bytes] : platform_.writtenFiles)
    names.push_back(name);
  EXPECT_EQ(names, (Strings{"/out/a.txt", "/out/b.TXT", "/out/c.Txt", "/out/d.csv.txt"}));
}

TEST_F(ExportResultsTest, AFailedWriteIsReportedOnceNamingFileAndReason) {
  LoadReferenceAndFile1({1});
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  platform_.saveAnswers = {"/ro/results"};
  ClickSave();
  EXPECT_TRUE(platform_.writtenFiles.empty());
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("Permission denied"), std::string::npos);
}

TEST_F(ExportResultsTest, CancelWritesNothingAndSaysNothing) {
  LoadReferenceAndFile1({1});
  ClickSave();
  EXPECT_EQ(platform_.saveFilters.size(), 1u);
  EXPECT_TRUE(platform_.writtenFiles.empty());
  EXPECT_TRUE(platform_.messages.empty());
}

// The desktop's own file writing and bitmap encoding; only the dialogs and
// the message box are answered by the test.
class DiskPlatform : public QtPlatform {
 public:
  DiskPlatform() : QtPlatform(nullptr, ProgramVersion{1, 0, 0}) {}
  std::deque<std::string> saveAnswers;
  std::deque<int> menuAnswers;
  Strings messages;

  std::optional<std::string> SaveFileDialog(std::string_view) override {
    if (saveAnswers.empty())
      return std::nullopt;
    std::string a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<int> PopupEditMenu(bool itemsEnabled) override {
    if (menuAnswers.empty() || !itemsEnabled)
      return std::nullopt;
    const int a = menuAnswers.front();
    menuAnswers.pop_front();
    return a;
  }
};

class ExportToDiskTest : public ::testing::Test {
 protected:
  ExportToDiskTest() : dir_("disk"), window_(platform_) {}

  // The files are dropped on their labels: the real open dialog would wait
  // for a user.
  void SetUp() override {
    const std::string ref = dir_.File("ref.txt");
    const std::string f1 = dir_.File("f1.txt");
    std::vector<Patch> flat, drifted;
    for (int i = 1; i <= 40; ++i) {
      flat.push_back({"P" + std::to_string(i), 50, 0, 0});
      drifted.push_back({"P" + std::to_string(i), 50 + 0.1 * i, 0, 0});
    }
    WriteChart(ref, flat);
    WriteChart(f1, drifted);
    window_.form().files.Lb_File_OLEDragDrop(0, {ref});
    window_.form().files.Lb_File_OLEDragDrop(1, {f1});
  }

  Strings FilesInFolder() const {
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  DiskPlatform platform_;
  Form1 window_;
};

TEST_F(ExportToDiskTest, ReplacesAnExistingFileWithTheCp932Results) {
  const std::string path = dir_.File("results.txt");
  std::ofstream(path) << "old content";
  platform_.saveAnswers = {path};
  QTest::mouseClick(window_.dataPage().But_DataR, Qt::LeftButton);
  EXPECT_TRUE(platform_.messages.empty());
  const std::string bytes = ReadBytes(path);
  EXPECT_TRUE(bytes.starts_with("\x8a\xee\x8f\x80:"));
  EXPECT_NE(bytes.find("\x87\x99"
                       "E00\r\n    1\t   P1\t50.00\t"),
            std::string::npos);
  EXPECT_TRUE(
      bytes.ends_with("   40\t  P40\t50.00\t0.00\t0.00\t54.00\t0.00\t0.00\t4.00\t3.95\t\t\r\n"));
  EXPECT_EQ(FilesInFolder(), (Strings{"f1.txt", "ref.txt", "results.txt"}));
}

// Running as root, permissions stop nothing; a file size limit does, and
// leaves the write incomplete part way.
TEST_F(ExportToDiskTest, AnIncompleteWriteKeepsTheOldFileAndIsReported) {
  const std::string path = dir_.File("results.txt");
  std::ofstream(path) << "old content";
  platform_.saveAnswers = {path};
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 512;
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  QTest::mouseClick(window_.dataPage().But_DataR, Qt::LeftButton);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(ReadBytes(path), "old content");
  EXPECT_EQ(FilesInFolder(), (Strings{"f1.txt", "ref.txt", "results.txt"}));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find(path), std::string::npos);
}

TEST_F(ExportToDiskTest, AFolderThatIsAFileIsReported) {
  const std::string plain = dir_.File("plain");
  std::ofstream(plain) << "keep";
  platform_.saveAnswers = {plain + "/results"};
  QTest::mouseClick(window_.dataPage().But_DataR, Qt::LeftButton);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find(plain + "/results.txt"), std::string::npos);
  EXPECT_EQ(ReadBytes(plain), "keep");
}

TEST_F(ExportToDiskTest, HistogramSaveWritesABitmapOfThePictureAndItsTable) {
  platform_.menuAnswers = {1};
  platform_.saveAnswers = {dir_.File("h")};
  QTest::mouseClick(&window_.PictG(0), Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_TRUE(platform_.messages.empty());
  QImage saved;
  ASSERT_TRUE(saved.load(QString::fromStdString(dir_.File("h-ΔE.bmp")), "BMP"));
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), window_.PictG(0).Image());
  EXPECT_TRUE(ReadBytes(dir_.File("h-ΔE.txt"))
                  .starts_with("\x83\xa2"
                               "E\t"));
}

// ---------------------------------------------------------------------------
// The copy buttons of the statistics frames and the chart areas.

class CopyButtonsTest : public OutputWindowTest {
 protected:
  void SetUp() override {
    OutputWindowTest::SetUp();
    ShowPage(0);
  }
  void LoadAllThree() {
    Choose(0, Chart("ref.txt", Flat(20)));
    Choose(1, Chart("f1.txt", Offsets(Steps(20, 0.1))));
    Choose(2, Chart("f2.txt", ChromaOffsets(Steps(20, 0.2))));
    platform_.log.clear();
  }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  StatisticsFrame& Frame(int pair) { return window().statisticsFrame(pair); }
};

constexpr const char* kDeCopied = "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました";
constexpr const char* kDe00Copied = "平均⊿E00  最大⊿E00  Best10%, 95%\r\n\r\nコピーしました";

TEST_F(CopyButtonsTest, RowCopyShowsTheMessageFirstThenCopiesTheFiguresAsShown) {
  LoadAllThree();
  Click(Frame(0).CopyDe);
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
  EXPECT_EQ(platform_.messages, Strings{kDeCopied});
  EXPECT_EQ(platform_.clipboardText, "   1.05\t   2.00\t   0.20\t   2.00");
  Click(Frame(1).CopyDe);
  EXPECT_EQ(platform_.clipboardText, "   2.10\t   4.00\t   0.40\t   4.00");
}

TEST_F(CopyButtonsTest, DeltaE00RowsCopyTheirOwnPairsFigures) {
  LoadAllThree();
  const std::array<std::string, 2> expected = {
      Cap(Ctl::Lb_De2K, 0) + "\t" + Cap(Ctl::Lb_De2K, 1) + "\t" + Cap(Ctl::Lb_Best2K, 0) + "\t" +
          Cap(Ctl::Lb_Wors2K, 0),
      Cap(Ctl::Lb_De2K, 2) + "\t" + Cap(Ctl::Lb_De2K, 3) + "\t" + Cap(Ctl::Lb_Best2K, 1) + "\t" +
          Cap(Ctl::Lb_Wors2K, 1)};
  // dE00 of the chroma offsets of pair 1 stays far below their dE*ab, and
  // below the lightness offsets of pair 0.
  ASSERT_NE(expected[0], expected[1]);
  ASSERT_NE(expected[1], "   2.10\t   4.00\t   0.40\t   4.00");
  Click(Frame(1).CopyDe2K);
  EXPECT_EQ(platform_.clipboardText, expected[1]);
  Click(Frame(0).CopyDe2K);
  EXPECT_EQ(platform_.clipboardText, expected[0]);
  EXPECT_EQ(platform_.messages, (Strings{kDe00Copied, kDe00Copied}));
}

TEST_F(CopyButtonsTest, RowCopyBeforeAnyLoadCopiesThreeTabs) {
  Click(Frame(0).CopyDe2K);
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  EXPECT_EQ(platform_.messages, Strings{kDe00Copied});
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
}

TEST_F(CopyButtonsTest, AreaCopyFillsTheClipboardFirstThenShowsTheMessage) {
  LoadAllThree();
  PictureBox& chart = window().PictPat(0);
  const ChartGeometry& g = state().chart;
  const int last = 19;
  const QPoint from(g.CellX(0, 0) + 1, g.CellY(0, 0) + 1);
  const QPoint to(g.CellX(last / g.ChartRows, last % g.ChartRows) + g.CellSize / 2,
                  g.CellY(last / g.ChartRows, last % g.ChartRows) + g.CellSize / 2);
  const int border = chart.BorderWidth();
  QTest::mousePress(&chart, Qt::RightButton, Qt::ShiftModifier, from + QPoint(border, border));
  Move(chart, to + QPoint(border, border), Qt::RightButton, Qt::ShiftModifier);
  QTest::mouseRelease(&chart, Qt::RightButton, Qt::ShiftModifier, to + QPoint(border, border));
  ASSERT_NE(Cap(Ctl::Lb_DeBox, 0).find("⊿E="), std::string::npos) << Cap(Ctl::Lb_DeBox, 0);
  platform_.log.clear();
  Click(window().chartPage().But_CPArea[0]);
  EXPECT_EQ(platform_.log, (Strings{"clear", "text", "message"}));
  ASSERT_TRUE(platform_.clipboardText.has_value());
  EXPECT_TRUE(
      std::regex_match(*platform_.clipboardText,
                       std::regex("1\\.05 \t2\\.00 \r\n[0-9]\\.[0-9]{2} \t[0-9]\\.[0-9]{2}")))
      << *platform_.clipboardText;
  EXPECT_EQ(platform_.messages,
            Strings{"平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました"});
}

TEST_F(CopyButtonsTest, AreaCopyOfTheHintCopiesNothingAndSaysNothing) {
  LoadAllThree();
  Click(window().chartPage().But_CPArea[1]);
  EXPECT_EQ(platform_.log, Strings{"clear"});
  EXPECT_FALSE(platform_.clipboardText.has_value());
  EXPECT_TRUE(platform_.messages.empty());
}

// ---------------------------------------------------------------------------
// The pop-up menu on the histograms.

class MenuHistogramTest : public OutputWindowTest {
 protected:
  void SetUp() override {
    OutputWindowTest::SetUp();
    ShowPage(0);
  }
  // dE*ab 0.1 … 5.0: top 5, bins of 0.5; 5.0 itself falls into bin 10.
  void LoadPair0() {
    LoadReferenceAndFile1({0.1, 0.2, 0.3, 0.7, 1.2, 1.3, 2.2, 4.6, 5.0});
    platform_.log.clear();
  }
  void OpenMenu(int pair, int item) {
    platform_.menuAnswers = {item};
    RightClick(window().PictG(pair));
  }
  static std::string Table(const std::string& metric) {
    return metric +
           "\tパッチ数\r\n0.5\t3\r\n1.0\t1\r\n1.5\t2\r\n2.0\t0\r\n2.5\t1\r\n3.0\t0\r\n3.5\t0\r\n"
           "4.0\t0\r\n4.5\t0\r\n5.0\t1\r\n";
  }
};

TEST_F(MenuHistogramTest, ItemsAreEnabledOnlyWhenThePairsFileIsLoaded) {
  Choose(0, Chart("ref.txt", Flat(3)));
  RightClick(window().PictG(0));
  Choose(1, Chart("f1.txt", Flat(3)));
  RightClick(window().PictG(0));
  RightClick(window().PictG(1));
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(state().MenuSource, 2);
  EXPECT_EQ(state().MenuIndex, 1);
  QTest::mouseClick(&window().PictG(0), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(platform_.menuShownEnabled.size(), 3u);
}

TEST_F(MenuHistogramTest, CopyPutsThePictureAndTheBinTableOnTheClipboardTogether) {
  LoadPair0();
  OpenMenu(0, 0);
  EXPECT_EQ(platform_.log, (Strings{"clear", "bitmap+text"}));
  EXPECT_EQ(platform_.clipboardText, Table("ΔE"));
  ASSERT_TRUE(platform_.clipboardBitmap.has_value());
  const QImage copied = ToQImage(*platform_.clipboardBitmap);
  EXPECT_EQ(copied, window().PictG(0).Image());
  EXPECT_EQ(copied.pixelColor(copied.width() / 20, copied.height() - 1), QColor(255, 0, 0));
}

TEST_F(MenuHistogramTest, SaveWritesTheBitmapAndACp932TableWithTheMetricInTheName) {
  LoadPair0();
  platform_.saveAnswers = {"/out/h"};
  OpenMenu(0, 1);
  EXPECT_EQ(platform_.saveFilters, Strings{"ビットマップ(*.bmp)|*.bmp"});
  ASSERT_EQ(platform_.savedBitmaps.count("/out/h-ΔE.bmp"), 1u);
  EXPECT_EQ(ToQImage(platform_.savedBitmaps["/out/h-ΔE.bmp"]), window().PictG(0).Image());
  EXPECT_EQ(platform_.writtenFiles["/out/h-ΔE.txt"],
            "\x83\xa2"
            "E\t\x83\x70\x83\x62\x83\x60\x90\x94\r\n0.5\t3\r\n1.0\t1\r\n1.5\t2\r\n2.0\t0\r\n"
            "2.5\t1\r\n3.0\t0\r\n3.5\t0\r\n4.0\t0\r\n4.5\t0\r\n5.0\t1\r\n\r\n");
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(MenuHistogramTest, ABitmapExtensionIsNeverDoubled) {
  LoadPair0();
  platform_.saveAnswers = {"/out/a.bmp"};
  OpenMenu(0, 1);
  platform_.saveAnswers = {"/out/b.BMP"};
  OpenMenu(0, 1);
  Strings names;
  for (const auto& [name, bitmap] : platform_.savedBitmaps)
    names.push_back(name);
  for (const auto& [name, bytes] : platform_.writtenFiles)
    names.push_back(name);
  EXPECT_EQ(names, (Strings{"/out/a-ΔE.bmp", "/out/b-ΔE.bmp", "/out/a-ΔE.txt", "/out/b-ΔE.txt"}));
}

TEST_F(MenuHistogramTest, WithDeltaE00SelectedTheOutputsSayDeltaE2K) {
  LoadPair0();
  QTest::mouseClick(window().chartPage().Opt_de[1], Qt::LeftButton);
  ASSERT_FALSE(window().MetricIsDeAb());
  OpenMenu(0, 0);
  ASSERT_TRUE(platform_.clipboardText.has_value());
  EXPECT_TRUE(platform_.clipboardText->starts_with("ΔE2K\tパッチ数\r\n"));
  platform_.saveAnswers = {"/out/h"};
  OpenMenu(0, 1);
  EXPECT_EQ(platform_.savedBitmaps.count("/out/h-ΔE2K.bmp"), 1u);
  ASSERT_EQ(platform_.writtenFiles.count("/out/h-ΔE2K.txt"), 1u);
  EXPECT_TRUE(
      platform_.writtenFiles["/out/h-ΔE2K.txt"].starts_with("\x83\xa2"
                                                            "E2K\t"));
}

TEST_F(MenuHistogramTest, AFailedBitmapWriteIsReportedAndNoTableIsWritten) {
  LoadPair0();
  platform_.failWrites["/ro/h-ΔE.bmp"] = "No space left on device";
  platform_.saveAnswers = {"/ro/h"};
  OpenMenu(0, 1);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/h-ΔE.bmp"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("No space left on device"), std::string::npos);
  EXPECT_TRUE(platform_.writtenFiles.empty());
}

TEST_F(MenuHistogramTest, AFailedTableWriteIsReported) {
  LoadPair0();
  platform_.failWrites["/ro/h-ΔE.txt"] = "Read-only file system";
  platform_.saveAnswers = {"/ro/h"};
  OpenMenu(0, 1);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/h-ΔE.txt"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("Read-only file system"), std::string::npos);
}

TEST_F(MenuHistogramTest, CancellingTheSaveDialogIsSilent) {
  LoadPair0();
  OpenMenu(0, 1);
  EXPECT_EQ(platform_.saveFilters.size(), 1u);
  EXPECT_TRUE(platform_.savedBitmaps.empty());
  EXPECT_TRUE(platform_.writtenFiles.empty());
  EXPECT_TRUE(platform_.messages.empty());
}

// ---------------------------------------------------------------------------
// The pop-up menu on the patch charts.

class MenuChartTest : public OutputWindowTest {
 protected:
  void SetUp() override {
    OutputWindowTest::SetUp();
    ShowPage(0);
  }
  void OpenMenu(int chart, int item) {
    platform_.menuAnswers = {item};
    const int border = window().PictPat(chart).BorderWidth();
    RightClick(window().PictPat(chart), QPoint(border + 1, border + 1));
  }
  // The cell area of a chart, read straight from the chart's picture.
  QImage CellArea(int chart) {
    const ChartGeometry& g = state().chart;
    return window().PictPat(chart).Image().copy(g.CellX(0, 0), g.CellY(0, 0),
                                                g.ChartCols * g.CellSize, g.ChartRows * g.CellSize);
  }
};

TEST_F(MenuChartTest, CopyCapturesTheCellAreaWithoutTheMargin) {
  Choose(0, Chart("ref.txt", Rainbow(30), 6));
  Choose(1, Chart("f1.txt", Rainbow(30), 6));
  const ChartGeometry& g = state().chart;
  ASSERT_GT(g.CellX(0, 0) + g.CellY(0, 0), 0) << "the chart needs a margin to tell it apart";
  platform_.log.clear();
  OpenMenu(0, 0);
  EXPECT_EQ(platform_.log, (Strings{"clear", "bitmap"}));
  ASSERT_TRUE(platform_.clipboardBitmap.has_value());
  EXPECT_EQ(platform_.clipboardBitmap->width, g.ChartCols * g.CellSize);
  EXPECT_EQ(platform_.clipboardBitmap->height, g.ChartRows * g.CellSize);
  EXPECT_EQ(ToQImage(*platform_.clipboardBitmap), CellArea(0));
}

TEST_F(MenuChartTest, SaveWritesTheCellAreaUnderTheChosenName) {
  Choose(0, Chart("ref.txt", Rainbow(30), 6));
  Choose(2, Chart("f2.txt", Rainbow(30), 6));
  platform_.saveAnswers = {"/out/chart"};
  OpenMenu(1, 1);
  platform_.saveAnswers = {"/out/upper.BMP"};
  OpenMenu(1, 1);
  EXPECT_EQ(platform_.saveFilters,
            (Strings{"ビットマップ(*.bmp)|*.bmp", "ビットマップ(*.bmp)|*.bmp"}));
  ASSERT_EQ(platform_.savedBitmaps.count("/out/chart.bmp"), 1u);
  EXPECT_EQ(ToQImage(platform_.savedBitmaps["/out/chart.bmp"]), CellArea(1));
  EXPECT_EQ(platform_.savedBitmaps.count("/out/upper.BMP"), 1u);
  EXPECT_TRUE(platform_.writtenFiles.empty());
}

TEST_F(MenuChartTest, NothingIsCopiedOrSavedWithoutAReference) {
  Choose(1, Chart("f1.txt", Rainbow(12)));
  platform_.log.clear();
  OpenMenu(0, 0);
  OpenMenu(0, 1);
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{true, true}));
  EXPECT_TRUE(platform_.log.empty());
  EXPECT_TRUE(platform_.saveFilters.empty());
  EXPECT_TRUE(platform_.savedBitmaps.empty());
}

// ---------------------------------------------------------------------------

using ManualButtonTest = OutputWindowTest;

TEST_F(ManualButtonTest, QuestionMarkOpensThePdfBesideTheProgram) {
  platform_.programFolder = "/opt/korimo tools";
  QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
  EXPECT_EQ(platform_.openedDocuments, Strings{"/opt/korimo tools/Korimo使用説明書.pdf"});
  EXPECT_TRUE(platform_.messages.empty());
}

}  // namespace
}  // namespace korimo::testing
