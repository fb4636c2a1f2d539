// The main window offscreen on a fake desktop: what it shows, draws and hands on.
#include <sys/resource.h>

#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/ClearAll.h"
#include "app/FileSelection.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "color/ColorConvert.h"
#include "ui/QtPlatform.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr Pair kChart0 = Pair::ReferenceFile1;
constexpr Pair kChart1 = Pair::ReferenceFile2;

// The screen shows the raster pixel for pixel.
bool ShowsRaster(PictureBox& box, const Raster& picture) {
  const QImage screen = Screen(box);
  if (screen.width() != picture.Width() || screen.height() != picture.Height())
    return false;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (Packed(screen, {x, y}) != picture.Pixel(x, y))
        return false;
    }
  }
  return true;
}

class MainWindowTest : public WindowTest {
 protected:
  Strings Files() {
    Strings files;
    for (DataSet s : kAllSets)
      files.push_back(window().Lb_File(s).Caption());
    return files;
  }
  // Every text, grid row and picture on screen as an engine driven alike has them.
  void ExpectShows(const EngineState& twin, const std::string& when) {
    EXPECT_EQ(Mismatches(window(), twin.record), Strings{}) << when;
    for (Pair p : kAllPairs) {
      EXPECT_TRUE(ShowsRaster(window().PictPat(p), twin.pictures.PictPat[Index(p)])) << when;
      EXPECT_TRUE(ShowsRaster(window().PictG(p), twin.pictures.PictG[Index(p)])) << when;
    }
    EXPECT_TRUE(ShowsRaster(window().PictD(), twin.pictures.PictD)) << when;
  }
};

TEST_F(MainWindowTest, ShowsWhatTheEngineHoldsFromStartThroughLoadsSortingAndClearAll) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
  EXPECT_TRUE(page().isVisibleTo(&window()) && !window().dataPage().isVisibleTo(&window()));
  // The engine draws for the boxes as laid out: 465-pixel charts, ten 11-pixel bars.
  for (Pair p : kAllPairs) {
    const Raster& chart = state().pictures.PictPat[Index(p)];
    const Raster& histogram = state().pictures.PictG[Index(p)];
    EXPECT_EQ(std::tuple(chart.Width(), chart.Height(), histogram.Width()),
              std::tuple(465, 465, 10 * 11));
    EXPECT_EQ(histogram.Height(), window().PictG(p).ScaleHeight());
  }
  for (const std::string size : {"small", "large"}) {
    window_ = std::make_unique<Form1>(platform_, dialogs_);
    Show();
    EngineState twin(state().surfaces);
    const EngineHooks hooks;
    ExpectShows(twin, "start");
    for (DataSet s : kAllSets) {
      const std::string path = std::string(KORIMO_SAMPLES_DIR) + "/" + size + "-" +
                               std::vector{"reference", "file1", "file2"}[Index(s)] + ".txt";
      Choose(s, path);
      ChooseFile(twin, s, path, hooks);
      ExpectShows(twin, size + " set " + std::to_string(Index(s)));
    }
    EXPECT_EQ(window().Lb_NoP(DataSet::File2).Caption(), size == "small" ? "24 ﾊﾟｯﾁ" : "1600 ﾊﾟｯﾁ");
    QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
    Opt_de_Click(twin, Metric::De00);
    const auto revisions = [&] { return state().pictures.PictPat[0].Revision(); };
    const auto before = revisions();
    window().TabStrip1().setCurrentIndex(1);  // nothing is redrawn on a page switch
    EXPECT_EQ(revisions(), before);
    ClickHeading(9);
    FlexG_MouseDown(twin, true);
    FlexG_Click(twin, 9);
    ExpectShows(twin, size + " dE00, sorted");

    QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);  // from the data page
    But_Clear_Click(twin);
    ExpectShows(twin, size + " cleared");
    EXPECT_EQ(Text(grid().model()->headerData(9, Qt::Horizontal).toString()) +
                  std::to_string(grid().Rows()),
              "⊿E00▲1");
    EXPECT_TRUE(window().dataPage().isVisible());
  }
}

TEST_F(MainWindowTest, FilesComeFromTheCommandLineButtonsAndDropsAndFailuresKeepTheViews) {
  const std::string ref = Chart("my ref.txt", Flat(4)), f1 = Chart("f1.txt", Offsets({1, 3, 2, 0})),
                    f2 = Chart("f2.txt", Offsets({2, 0, 1, 4})),
                    two = "\"" + ref + "\" \"" + f1 + "\"";
  for (const auto& [arg, want] : {std::pair{two, two.substr(1, two.size() - 2) + "|0 ﾊﾟｯﾁ"},
                                  {"\"" + ref + "\"", ref + "|4 ﾊﾟｯﾁ"}}) {
    window().Form_LoadCommandLine(arg);  // only the outer quotes go
    EXPECT_EQ(window().Lb_File(DataSet::Reference).Caption() + "|" +
                  window().Lb_NoP(DataSet::Reference).Caption(),
              want);
  }
  window_ = std::make_unique<Form1>(platform_, dialogs_);
  Show();
  window().showMinimized();
  EXPECT_EQ(Offer(&window().PictPat(kChart1), {ref, f2}), 2);  // the Reference first, one path
  EXPECT_FALSE(window().isMinimized());
  EXPECT_EQ(Files(), (Strings{ref, "", ""}));
  Offer(grid().viewport(), {f1});  // the first free set
  Offer(&window().PictPat(kChart1), {f2});
  EXPECT_EQ(Files(), (Strings{ref, f1, f2}));
  dialogs_.openAnswers = {f2};
  QTest::mouseClick(&window().But_File(DataSet::File1), Qt::LeftButton);
  QTest::mouseClick(&window().But_File(DataSet::File1), Qt::LeftButton);  // cancelled
  EXPECT_EQ(Files(), (Strings{ref, f2, f2}));
  Offer(&window().Lb_File(DataSet::File1), {f1, ref});
  Offer(&window().But_File(DataSet::File2), {f1, f2});
  EXPECT_EQ(Files(), (Strings{ref, f1, f1}));

  const std::string link = dir_.File("f1.LNK");  // ignored on labels and charts only
  Offer(&window().Lb_File(DataSet::File1), {link});
  Offer(&window().PictPat(kChart0), {link});
  for (QWidget* target :
       std::vector<QWidget*>{&window().But_File(DataSet::File1), &window().PictPat(kChart1)})
    EXPECT_EQ(Offer(target, {}, QString::fromStdString(f2)), 0);  // text is refused
  EXPECT_EQ(Files(), (Strings{ref, f1, f1}));
  const QImage chart = Screen(window().PictPat(kChart0));
  const QImage histogram = Screen(window().PictG(kChart0));
  const WindowRecord before = record();
  Offer(&window().But_File(DataSet::File1), {link});  // chosen, but it cannot be read
  EXPECT_EQ(
      Mismatches(window(), before),
      (Strings{"Lb_File1 shows \"" + link + "\", not \"" + f1 + "\"",
               "Lb_NoP1 shows \"0 ﾊﾟｯﾁ\", not \"4 ﾊﾟｯﾁ\"",
               "Lb_Pairing0 shows \"File1: 読み込めません（ファイルがありません）\", not \"\""}));
  EXPECT_EQ(Screen(window().PictPat(kChart0)), chart);
  EXPECT_EQ(Screen(window().PictG(kChart0)), histogram);
  EXPECT_TRUE(platform_.messages.empty());
  Offer(&window().But_File(DataSet::File2), {Chart("big.txt", Flat(3001))});  // the reader says why
  EXPECT_EQ(platform_.messages, Strings{"パッチ数が最大3000を越えました。読み込みを中止します"});
}

TEST_F(MainWindowTest, AreaBoxLetsOnlyCtrlCThrough) {
  Show();
  QLineEdit& box = *page().Lb_DeBox[0];
  const QString hint = box.text();
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  box.setFocus();
  QTest::keyClicks(&box, "abc 12\b");
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_Delete);
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(box.text() + QApplication::clipboard()->text(), hint + hint);
}

using P = QPoint;

// Where the cells of a chart lie in the 465 x 465 drawing area.
struct Cells {
  int rows, cell, offX, offY;
  P Origin(int p) const { return {offX + p / rows * cell, offY + p % rows * cell}; }
  P Centre(int p) const { return Origin(p) + P(cell / 2, cell / 2); }
};
constexpr Cells kCells24{4, 77, 1, 78};  // 4 x 6 cells

// The w x h screen pixels from `from` on, one letter each: K black, W white, R red, B blue,
// '-' any other colour; each row ends in '|'.
std::string Sample(const QImage& screen, P from, int w, int h = 1) {
  constexpr std::uint32_t kColours[] = {0, 0xFFFFFF, 0x0000FF, 0xFF0000};
  std::string letters;
  for (int y = from.y(); y < from.y() + h; ++y) {
    for (int x = from.x(); x < from.x() + w; ++x)
      letters += "KWRB-"[std::ranges::find(kColours, Packed(screen, {x, y})) - kColours];
    letters += '|';
  }
  return letters;
}

class ChartTest : public WindowTest {
 protected:
  PictureBox& Pict(Pair c) { return window().PictPat(c); }
  QImage Chart0() { return Screen(Pict(kChart0)); }
  // Chart coordinates in widget coordinates, which include the border.
  P At(Pair c, P p) { return p + P(Pict(c).BorderWidth(), Pict(c).BorderWidth()); }
  void Hover(Pair c, P p) { QTest::mouseMove(&Pict(c), At(c, p)); }
  std::string Info(Pair c) { return Text(page().Lb_PDe[Index(c)]->text()); }
};

TEST_F(ChartTest, HoverBordersSelectionFrameAreaDragAndMenus) {
  Show();
  std::vector<double> d(24);
  for (std::size_t i = 0; i < 24; ++i)
    d[i] = 0.125 * static_cast<double>(i);
  LoadPair(d, 4);
  Hover(kChart0, kCells24.Origin(0) + P(77, 10));  // the shared border belongs to the left cell
  EXPECT_EQ(Info(kChart0).substr(0, 43) + Sample(Chart0(), kCells24.Origin(0) + P(75, 10), 2),
            "基準 P1  L=  50.00  a=   0.00  b=   0.00 -W|");  // with its hover outline
  Hover(kChart0, kCells24.Origin(0) + P(78, 10));
  EXPECT_EQ(Info(kChart0).substr(0, 10), "基準 P5 ");

  const P a = kCells24.Origin(5), b = kCells24.Origin(10);
  Hover(kChart0, kCells24.Centre(5));
  QTest::mouseClick(&Pict(kChart0), Qt::LeftButton, {}, At(kChart0, kCells24.Centre(5)));
  EXPECT_EQ(page().Lb_FDe[0]->text(), page().Lb_PDe[0]->text());
  Hover(kChart0, kCells24.Centre(10));  // leaving the cell repaints it with its frame
  EXPECT_EQ(Sample(Chart0(), a, 3, 3) + Sample(Chart0(), a + P(74, 74), 3, 3),
            "BBB|BWW|BW-|-WB|WWB|BBB|");
  QTest::mouseClick(&Pict(kChart0), Qt::LeftButton, {}, At(kChart0, kCells24.Centre(10)));
  Hover(kChart0, kCells24.Centre(11));
  EXPECT_EQ(Sample(Chart0(), a, 3, 3) + Sample(Chart0(), b, 3, 3), "---|---|---|BBB|BWW|BW-|");

  const P from = At(kChart0, kCells24.Centre(6)), to = At(kChart0, kCells24.Centre(12));
  const QFrame& frame = *page().Sh_Box[0];
  for (Qt::KeyboardModifier m : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    QTest::mousePress(&Pict(kChart0), Qt::LeftButton, m, from);
    EXPECT_EQ(frame.isHidden() ? QRect() : frame.geometry(), QRect(from, QSize(2, 2)));
    QTest::mouseMove(&Pict(kChart0), to);
    QTest::mouseRelease(&Pict(kChart0), Qt::LeftButton, m, to);
    // Columns 1-3, rows 0-2: dE*ab 0.5 ... 1.75, average 1.125.
    EXPECT_TRUE(
        Text(page().Lb_DeBox[0]->text()).starts_with("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00="));
    EXPECT_EQ(frame.isHidden() ? QRect() : frame.geometry(),
              QRect(At(kChart0, P(116, 116)), QSize(154, 154)));
    QTest::mouseClick(&Pict(kChart0), Qt::LeftButton, m, from);  // a press without motion hides it
    EXPECT_TRUE(frame.isHidden());
  }

  Hover(kChart1, kCells24.Centre(5));  // chart 1 has no File2
  EXPECT_EQ(Info(kChart1), "");
  QTest::mouseClick(&Pict(kChart1), Qt::RightButton, {}, At(kChart1, kCells24.Centre(0)));
  QTest::mouseClick(&Pict(kChart0), Qt::RightButton, {}, At(kChart0, kCells24.Centre(0)));
  QTest::mouseClick(&window().PictG(kChart1), Qt::RightButton, {}, P(5, 5));
  QTest::mouseClick(&window().PictG(kChart0), Qt::LeftButton, {}, P(5, 5));  // no menu
  EXPECT_EQ(dialogs_.menuShownEnabled, (std::vector<bool>{false, true, false}));
}

TEST_F(ChartTest, ThresholdPanelControlsReachTheEngineAndItsCaptionsShow) {
  // 200 patches: 27 at 0.2, 168 at 1.5, 4 at 3.1 and the largest at 3.2.
  std::vector<double> d(200, 1.5);
  std::fill_n(d.begin(), 27, 0.2);
  std::fill_n(d.begin() + 195, 4, 3.1);
  d[199] = 3.2;
  LoadPair(d, 10);
  const auto panel = [&] {
    return Text(page().ChkBest->text()) + "|" + Text(page().ChkWorst->text()) + "|" +
           Text(page().Lb_UPar[0]->text()) + "|" + Text(page().Lb_OPar[0]->text()) + "|" +
           Text(window().statisticsFrame(kChart0).GX->text());
  };
  EXPECT_EQ(panel(), "Under ⊿E<0.40|Over ⊿E> 3.00|14%|3%|⊿E     4");
  page().Opt_de[1]->click();
  EXPECT_EQ(panel(), "Under ⊿E00<0.40|Over  ⊿E00>3.00|14%|3%|⊿E00   4");
  page().SldBest->setValue(8);  // 4 x 8 / 20
  page().SldWorst->setValue(14);
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80|98%|3%|⊿E00   4");
  page().ChkBest->click();  // unchecked: its percentage goes
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80||3%|⊿E00   4");
  page().ChkWorst->click();
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80|||⊿E00   4");
  page().Opt_de[0]->click();  // every threshold update refills both pairs' figures
  EXPECT_EQ(panel(), "Under ⊿E<1.60|Over ⊿E> 2.80|98%|3%|⊿E     4");
}

// The window shown offscreen, on its data page unless a test turns back.
class OutputTest : public WindowTest {
 protected:
  void SetUp() override { Show(1); }
  void RightClick(QWidget& w) { QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(5, 5)); }
  std::string Cell(int row, int col) {
    return grid().model()->index(row - 1, col).data().toString().toStdString();
  }
};

TEST_F(OutputTest, HeadingClicksSortTheGridAndMarkTheHeadingAndRowClicksSelectWholeRows) {
  LoadPair({3, 1, 4, 2});
  for (const auto& [col, want] : {std::pair{0, "No.▲ 1 2 3 4"},
                                  {0, "No.▼ 4 3 2 1"},
                                  {1, "ID▲ 1 2 3 4"},
                                  {8, "⊿E▲ 2 4 1 3"}}) {
    ClickHeading(col);
    std::string rows = Text(grid().model()->headerData(col, Qt::Horizontal).toString());
    for (int r = 1; r < grid().Rows(); ++r)
      rows += " " + std::to_string(std::stoi(Cell(r, 0)));
    EXPECT_EQ(rows, want);
  }
  const QRect cell = grid().visualRect(grid().model()->index(2, 6));
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
  const QModelIndexList selected = grid().selectionModel()->selectedIndexes();
  EXPECT_EQ(std::pair(static_cast<int>(selected.size()), grid().currentIndex().column()),
            std::pair(kGridCols, 0));
  EXPECT_TRUE(std::ranges::all_of(selected, [](const QModelIndex& i) { return i.row() == 2; }));
}

// The events a left double click brings: press, release, double click, release.
void DoubleClick(QWidget* target, QPoint at) {
  const QPointF local(at);
  const QPointF global(target->mapToGlobal(at));
  const std::pair<QEvent::Type, Qt::MouseButtons> steps[] = {
      {QEvent::MouseButtonPress, Qt::LeftButton},
      {QEvent::MouseButtonRelease, Qt::NoButton},
      {QEvent::MouseButtonDblClick, Qt::LeftButton},
      {QEvent::MouseButtonRelease, Qt::NoButton}};
  for (const auto& [type, buttons] : steps) {
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  }
}

// A double click is one click; a right click opens the menu and leaves the
// selected row as it was.
TEST_F(OutputTest, ADoubleClickSortsOnceAndOnlyTheLeftButtonSelects) {
  LoadPair({3, 1, 4, 2});
  QHeaderView* header = grid().horizontalHeader();
  const QPoint heading(header->sectionViewportPosition(8) + header->sectionSize(8) / 2,
                       header->height() / 2);
  DoubleClick(header->viewport(), heading);
  EXPECT_EQ(Text(grid().model()->headerData(8, Qt::Horizontal).toString()), "⊿E▲");
  const auto cellCentre = [&](int row) {
    return grid().visualRect(grid().model()->index(row, 3)).center();
  };
  DoubleClick(grid().viewport(), cellCentre(1));
  QTest::mouseClick(grid().viewport(), Qt::RightButton, {}, cellCentre(3));
  EXPECT_EQ(dialogs_.menuShownEnabled, (std::vector<bool>{true}));
  const QModelIndexList selected = grid().selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front().row(), 1);
}

// Two files of one chart in different orders: a red line with the first
// difference, its positions as the tooltip, gone after clear-all.
TEST_F(OutputTest, PairingWarningShowsInRedWithItsPositionsAndClears) {
  Choose(DataSet::Reference, Chart("ref.txt", {{"A1", 50, 0, 0}, {"A2", 60, 0, 0}}));
  Choose(DataSet::File1, Chart("f1.txt", {{"A2", 60, 0, 0}, {"A1", 50, 0, 0}}));
  const CaptionLabel& strip = window().Lb_Pairing(kChart0);
  EXPECT_EQ(Text(strip.text()), "基準–File1: ID不一致 2/2（No.1「A1」≠「A2」） 位置で比較");
  EXPECT_TRUE(Text(strip.toolTip()).find("No.2「A2」≠「A1」") != std::string::npos);
  EXPECT_EQ(strip.palette().color(QPalette::WindowText).red(), 192);
  EXPECT_LE(strip.fontMetrics().horizontalAdvance(strip.text()), strip.width());
  EXPECT_FALSE(strip.geometry().intersects(window().TabStrip1().geometry()));
  EXPECT_FALSE(strip.geometry().intersects(window().But_Clear().geometry()));
  EXPECT_TRUE(window().Lb_Pairing(kChart1).text().isEmpty());
  window().But_Clear().click();
  EXPECT_TRUE(strip.text().isEmpty());
  EXPECT_TRUE(strip.toolTip().isEmpty());
}

TEST_F(OutputTest, SwatchesShowTheVisibleRowsColoursInGridOrder) {
  std::vector<double> d;  // every patch at its own L*, out of order
  for (int i = 0; i < 80; ++i)
    d.push_back((i * 37) % 80 - 30);
  Choose(DataSet::Reference, Chart("ref.txt", Offsets(d)));
  ClickHeading(2);  // by L0: row r has L* 19 + r
  grid().verticalScrollBar()->setValue(20);
  ASSERT_EQ(grid().TopRow(), 21);
  const QImage strip = Screen(window().PictD());
  const int rows = state().surfaces.gridVisibleRows;
  const int h = static_cast<int>(std::nearbyint(static_cast<double>(strip.height()) / rows));
  for (int g = 0; g < rows; ++g)
    EXPECT_EQ(Packed(strip, {0, h * g}), LabToRgb(40 + g, 0, 0)) << g;
}

TEST_F(OutputTest, ClosingTheWindowAfterTheGridShrankIsSafe) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(80)));
  grid().ScrollToRow(60);
  Choose(DataSet::Reference, Chart("few.txt", Flat(3)));
  EXPECT_EQ(grid().model()->rowCount(), 3);
  window_.reset();  // the grid reports its last scroll while it is torn down
}

TEST_F(OutputTest, GridMenuCopiesEveryRow) {
  LoadPair({1});
  Choose(DataSet::File2, Chart("f2.txt", Offsets({2})));
  dialogs_.menuAnswers = {MenuItem::Copy};
  RightClick(*grid().viewport());
  EXPECT_EQ(
      platform_.clipboardText,
      "No.　\tID　\tL0　\ta0　\tb0　\tL1　\ta1　\tb1　\t⊿E　\t⊿E00　\tL2　\ta2　\tb2　\t⊿E　\t"
      "⊿E00　\r\n    1\t   P1\t50.00\t0.00\t0.00\t51.00\t0.00\t0.00\t1.00\t1.00\t52.00\t0.00\t"
      "0.00\t2.00\t1.99\r\n");
}

// A fake desktop whose file writing is the real one.
struct DiskPlatform : FakePlatform {
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override {
    return QtPlatform().WriteFile(path, bytes);
  }
};

TEST_F(OutputTest, ResultsAreWrittenInCp932AndAnIncompleteWriteKeepsTheOldFile) {
  DiskPlatform platform;
  Form1 window(platform, dialogs_);
  Offer(&window.Lb_File(DataSet::Reference), {Chart("ref.txt", Flat(1))});
  Offer(&window.Lb_File(DataSet::File1), {Chart("f1.txt", Offsets({3}))});
  const std::string path = dir_.File("results.txt");
  platform.saveAnswers = {path, path};
  std::ofstream(path) << "old content";
  const auto written = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  rlimit saved{};  // running as root, permissions stop nothing; a file size limit does
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{64, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  QTest::mouseClick(window.dataPage().But_DataR, Qt::LeftButton);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(written(), "old content");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find(path), std::string::npos);
  std::set<std::string> names;  // and no half-written temporary is left behind
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"f1.txt", "ref.txt", "results.txt"}));

  QTest::mouseClick(window.dataPage().But_DataR, Qt::LeftButton);
  EXPECT_EQ(written(), "\212\356\217\200:" + dir_.File("ref.txt") +
                           "\r\nFile1:" + dir_.File("f1.txt") +
                           "\r\nNo.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t"
                           "\207\231E\t\207\231E00\r\n    1\t   P1\t50.00\t0.00\t0.00\t53.00\t"
                           "0.00\t0.00\t3.00\t2.98\t\t\r\n");
}

bool SameImage(const std::optional<Raster>& picture, const QImage& screen) {
  if (!picture || picture->Width() != screen.width() || picture->Height() != screen.height())
    return false;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      if (picture->Pixel(x, y) != Packed(screen, {x, y}))
        return false;
    }
  }
  return true;
}

TEST_F(OutputTest, CopyButtonsAndPictureMenusCopyAndSaveTheirOwnFiguresAndPictures) {
  Show(0);
  // dE*ab 0.1 ... 5.0: top 5, bins of 0.5; 5.0 itself falls into bin 10.
  LoadPair({0.1, 0.2, 0.3, 0.7, 1.2, 1.3, 2.2, 4.6, 5.0});
  const StatisticsFrame& frame = window().statisticsFrame(kChart0);
  QTest::mouseClick(frame.CopyDe2K, Qt::LeftButton);
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
  EXPECT_EQ(platform_.clipboardText, "   1.71\t   4.91\t\t");  // too few patches for Best, 95%
  QTest::mouseClick(frame.CopyDe, Qt::LeftButton);
  EXPECT_EQ(platform_.clipboardText, "   1.73\t   5.00\t\t");
  // An area over every cell: the drag starts outside them and ends beyond the last.
  PictureBox& chart = window().PictPat(kChart0);
  QTest::mousePress(&chart, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
  QTest::mouseMove(&chart, QPoint(chart.width() - 3, chart.height() - 3));
  QTest::mouseRelease(&chart, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(chart.width() - 3, chart.height() - 3));
  platform_.log.clear();
  QTest::mouseClick(page().But_CPArea[0], Qt::LeftButton);
  EXPECT_EQ(platform_.log, (Strings{"clear", "text", "message"}));
  EXPECT_EQ(platform_.clipboardText, "1.73 \t5.00 \r\n1.71 \t4.91");
  platform_.programFolder = "/opt/korimo tools";
  QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
  EXPECT_EQ(platform_.openedDocuments, Strings{"/opt/korimo tools/Korimo使用説明書.pdf"});

  const QImage histogram = Screen(window().PictG(kChart0));
  const ChartGeometry& g = state().chart;
  const QImage cells = Screen(chart).copy(g.CellX(0, 0), g.CellY(0, 0), g.ChartCols * g.CellSize,
                                          g.ChartRows * g.CellSize);
  platform_.log.clear();
  dialogs_.menuAnswers = {MenuItem::Copy, MenuItem::Save, MenuItem::Save, MenuItem::Copy,
                          MenuItem::Save};
  platform_.saveAnswers = {"/out/h", "/ro/h", "/out/k"};
  platform_.failWrites["/ro/h-ΔE.bmp"] = "No space left on device";
  for (int i = 0; i < 3; ++i)
    RightClick(window().PictG(kChart0));
  EXPECT_TRUE(SameImage(platform_.clipboardBitmap, histogram));
  EXPECT_TRUE(platform_.clipboardText->starts_with("ΔE\tパッチ数\r\n0.5\t3\r\n1.0\t1\r\n"));
  EXPECT_TRUE(SameImage(platform_.savedBitmaps.at("/out/h-ΔE.bmp"), histogram));
  EXPECT_TRUE(platform_.writtenFiles.at("/out/h-ΔE.txt").starts_with("\203\242E\t\203p\203b"));
  EXPECT_NE(platform_.messages.back().find("/ro/h-ΔE.bmp"), std::string::npos);
  RightClick(chart);
  EXPECT_TRUE(SameImage(platform_.clipboardBitmap, cells));
  EXPECT_EQ(platform_.log, (Strings{"clear", "bitmap+text", "message", "clear", "bitmap"}));
  QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
  RightClick(window().PictG(kChart0));
  EXPECT_TRUE(platform_.writtenFiles.at("/out/k-ΔE2K.txt").starts_with("\203\242E2K\t"));
}

}  // namespace
}  // namespace korimo::testing
