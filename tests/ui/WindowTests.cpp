// The main window offscreen on a fake desktop: what it shows, draws and hands on.
#include <sys/resource.h>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <fstream>

#include "ui/QtPlatform.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

class MainWindowTest : public WindowTest {
 protected:
  Strings Files() { return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)}; }
  // Every caption, the grid rows and its headings as the headless engine has them.
  void ExpectSame(const HeadlessWindow& engine, const std::string& when) {
    for (int c = 0; c <= static_cast<int>(Ctl::ChkWorst); ++c) {
      const Ctl ctl = static_cast<Ctl>(c);
      const int n = ctl <= Ctl::Lb_NoP ? 3 : ctl <= Ctl::Lb_De2K ? 4 : ctl >= Ctl::ChkBest ? 1 : 2;
      for (int i = 0; i < n; ++i)
        EXPECT_EQ(Cap(ctl, i), engine.Caption(ctl, i)) << when << " " << c << "/" << i;
    }
    EXPECT_EQ(grid().Model()->DataRows(), engine.GridDataRows()) << when;
    for (int c = 0; c < kGridCols; ++c)
      EXPECT_EQ(grid().Text(0, c), engine.GridHeadings()[c]) << when << " heading " << c;
  }
};

TEST_F(MainWindowTest, StartsAndFollowsTheEngineThroughLoadsSortingAndClearAll) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
  EXPECT_TRUE(page().isVisibleTo(&window()) && !window().dataPage().isVisibleTo(&window()));
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(std::pair(window().PictPat(i).Image().size(), window().PictG(i).ScaleWidth()),
              std::pair(QSize(465, 465), 10 * 11));
  for (const std::string size : {"small", "large"}) {
    window_ = std::make_unique<Form1>(platform_);
    FakePlatform enginePlatform;
    HeadlessWindow engine(enginePlatform);
    ExpectSame(engine, "start");
    for (int s = 0; s < 3; ++s) {
      const std::string path = std::string(KORIMO_SAMPLES_DIR) + "/" + size + "-" +
                               std::vector{"reference", "file1", "file2"}[s] + ".txt";
      Choose(s, path);
      enginePlatform.openAnswers.push_back(path);
      engine.form().files.But_File_Click(s);
      ExpectSame(engine, size + " set " + std::to_string(s));
    }
    QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
    engine.SelectMetricDeAb(false);
    Show(1);
    ClickHeading(9);
    engine.ClickGridHeading(9);
    ExpectSame(engine, size + " dE00, sorted");
    window().SetMenuItemsEnabled(true);
    window().SetAreaBoxVisible(1, true);

    QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);  // from the data page
    engine.ClearAll();
    ExpectSame(engine, size + " cleared");
    EXPECT_EQ(grid().Text(0, 9) + std::to_string(grid().Rows()), "⊿E00▲1");
    EXPECT_FALSE(window().MenuItemsEnabled() || window().AreaBoxVisible(1));
    EXPECT_TRUE(IsBlank(window().PictD()) && IsBlank(window().PictPat(0)) &&
                IsBlank(window().PictPat(1)) && IsBlank(window().PictG(0)) &&
                IsBlank(window().PictG(1)));
  }
}

TEST_F(MainWindowTest, FilesComeFromTheCommandLineButtonsAndDropsAndFailuresKeepTheViews) {
  const std::string ref = Chart("my ref.txt", Flat(4)), f1 = Chart("f1.txt", Offsets({1, 3, 2, 0})),
                    f2 = Chart("f2.txt", Offsets({2, 0, 1, 4})),
                    two = "\"" + ref + "\" \"" + f1 + "\"";
  for (const auto& [arg, want] : {std::pair{two, two.substr(1, two.size() - 2) + "|0 ﾊﾟｯﾁ"},
                                  {"\"" + ref + "\"", ref + "|4 ﾊﾟｯﾁ"}}) {
    window().Form_LoadCommandLine(arg);  // only the outer quotes go
    EXPECT_EQ(Cap(Ctl::Lb_File, 0) + "|" + Cap(Ctl::Lb_NoP, 0), want);
  }
  window_ = std::make_unique<Form1>(platform_);
  EXPECT_EQ(Offer(page().PictPat[1], {ref, f2}), 2);  // the Reference first, one path only
  EXPECT_EQ(Files(), (Strings{ref, "", ""}));
  Offer(grid().viewport(), {f1});  // the first free set
  Offer(page().PictPat[1], {f2});
  EXPECT_EQ(Files(), (Strings{ref, f1, f2}));
  platform_.openAnswers = {f2};
  QTest::mouseClick(&window().But_File(1), Qt::LeftButton);
  EXPECT_EQ(Files(), (Strings{ref, f2, f2}));
  Offer(&window().Lb_File(1), {f1, ref});
  Offer(&window().But_File(2), {f1, f2});
  EXPECT_EQ(Files(), (Strings{ref, f1, f1}));

  const std::string link = dir_.File("f1.LNK");  // ignored on labels and charts only
  Offer(&window().Lb_File(1), {link});
  Offer(page().PictPat[0], {link});
  for (QWidget* target : std::vector<QWidget*>{&window().But_File(1), page().PictPat[1]})
    EXPECT_EQ(Offer(target, {}, QString::fromStdString(f2)), 0);  // text is refused
  EXPECT_EQ(Files(), (Strings{ref, f1, f1}));
  const QImage chart = window().PictPat(0).Image(), histogram = window().PictG(0).Image();
  const std::vector<GridRow> rows = grid().Model()->DataRows();
  Offer(&window().But_File(1), {link});  // chosen, but it cannot be read
  EXPECT_EQ(Files(), (Strings{ref, link, f1}));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  EXPECT_TRUE(window().PictPat(0).Image() == chart && window().PictG(0).Image() == histogram);
  EXPECT_EQ(grid().Model()->DataRows(), rows);
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
const auto Grey = [](double L) { return LabToRgb(L, 0, 0); };

// Where the cells of a chart lie in the 465 x 465 drawing area.
struct Grid {
  int rows, cell, offX, offY;
  P Origin(int p) const { return {offX + p / rows * cell, offY + p % rows * cell}; }
  P Centre(int p) const { return Origin(p) + P(cell / 2, cell / 2); }
};
constexpr Grid kGrid24{4, 77, 1, 78}, kGrid200{10, 23, 2, 117};  // 4 x 6 and 10 x 20 cells

// The w x h pixels of `box` from `from` on, one letter each: K black, W white, R red, B blue,
// '-' any other colour; each row ends in '|'.
std::string Sample(const PictureBox& box, P from, int w, int h = 1) {
  constexpr std::uint32_t kColours[] = {0, 0xFFFFFF, 0x0000FF, 0xFF0000};
  std::string letters;
  for (int y = from.y(); y < from.y() + h; ++y) {
    for (int x = from.x(); x < from.x() + w; ++x)
      letters += "KWRB-"[std::ranges::find(kColours, box.Pixel(x, y)) - kColours];
    letters += '|';
  }
  return letters;
}

class ChartTest : public WindowTest {
 protected:
  PictureBox& Pict(int c) { return window().PictPat(c); }
  std::uint32_t Px(P p) { return Pict(0).Pixel(p.x(), p.y()); }
  // Chart coordinates in widget coordinates, which include the border.
  P At(int c, P p) { return p + P(Pict(c).BorderWidth(), Pict(c).BorderWidth()); }
  void Hover(int c, P p) { QTest::mouseMove(&Pict(c), At(c, p)); }
  // The marks in cells of chart 0: U(nder), O(ver), M(aximum).
  std::string Marks(const Grid& g, std::initializer_list<int> cells) {
    std::string all;
    for (int p : cells) {
      const std::string centre = Sample(Pict(0), g.Centre(p), std::lround(0.3 * g.cell) + 1);
      const std::string corner = Sample(Pict(0), g.Origin(p), 6, 6);
      all += centre.starts_with('K') && centre.ends_with("W|") ? "U" : "";
      all += centre.starts_with('W') && centre[g.cell / 10 + 1] == 'K' ? "O" : "";
      all += corner.starts_with('R') && corner[5 * 7 + 5] == 'B' ? "M," : ",";
    }
    return all;
  }
};

TEST_F(ChartTest, CellsShowBothHalvesAndMarksNeedStrictThresholdsAndShareTheMaximum) {
  // Largest 4.5: scale 5, Under below 0.5, Over above 3.75, all exact in binary.
  std::vector<double> d = {0.25, 0.5, 3.75, 4.0, 4.5, 4.5};
  d.resize(24, 1.0);
  LoadPair(d, 4);
  EXPECT_EQ(Marks(kGrid24, {0, 1, 2, 3, 4, 5, 6, 23}), "U,,,O,OM,OM,,,");
  // Reference above, File1 from the middle row down, cells abutting inside the background.
  const P o = kGrid24.Origin(2);
  const std::uint32_t bg = Pict(0).Background();
  EXPECT_EQ(
      (std::vector{Px(o), Px(o + P(76, 37)), Px(o + P(0, 38)), Px(o + P(76, 76)), Px(o + P(0, 77)),
                   Px(P(0, 200)), Px(P(463, 200)), Px(P(200, 77)), Px(P(200, 386))}),
      (std::vector{Grey(50), Grey(50), Grey(53.75), Grey(53.75), Grey(50), bg, bg, bg, bg}));
  // Over: white centre, black ring of radius 7.7 five pixels wide.
  EXPECT_EQ(Sample(Pict(0), kGrid24.Centre(3) - P(11, 0), 23), "-KKKKK----WWW----KKKKK-|");

  d.assign(300, 1.0);  // cells of 3 pixels: the Under ring has radius 2
  d[0] = 4.5;
  d[299] = 0.25;
  LoadPair(d, 150);
  EXPECT_EQ(Sample(Pict(0), P(231, 453), 5, 5), "-WWWW|WKKKW|WKKKW|WKKKW|WWWWW|");  // the last cell
}

TEST_F(ChartTest, HoverBordersSelectionFrameAreaDragAndMenus) {
  Show();
  std::vector<double> d(24);
  for (int i = 0; i < 24; ++i)
    d[i] = 0.125 * i;
  LoadPair(d, 4);
  Hover(0, kGrid24.Origin(0) + P(77, 10));  // the shared border belongs to the left cell
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0).substr(0, 43) + Sample(Pict(0), kGrid24.Origin(0) + P(75, 10), 2),
            "基準 P1  L=  50.00  a=   0.00  b=   0.00 -W|");  // with its hover outline
  Hover(0, kGrid24.Origin(0) + P(78, 10));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0).substr(0, 10), "基準 P5 ");

  const P a = kGrid24.Origin(5), b = kGrid24.Origin(10);
  Hover(0, kGrid24.Centre(5));
  QTest::mouseClick(&Pict(0), Qt::LeftButton, {}, At(0, kGrid24.Centre(5)));
  EXPECT_EQ(Cap(Ctl::Lb_FDe, 0), Cap(Ctl::Lb_PDe, 0));
  Hover(0, kGrid24.Centre(10));  // leaving the cell repaints it with its frame
  EXPECT_EQ(Sample(Pict(0), a, 3, 3) + Sample(Pict(0), a + P(74, 74), 3, 3),
            "BBB|BWW|BW-|-WB|WWB|BBB|");
  QTest::mouseClick(&Pict(0), Qt::LeftButton, {}, At(0, kGrid24.Centre(10)));
  Hover(0, kGrid24.Centre(11));
  EXPECT_EQ(Sample(Pict(0), a, 3, 3) + Sample(Pict(0), b, 3, 3), "---|---|---|BBB|BWW|BW-|");

  const P from = At(0, kGrid24.Centre(6)), to = At(0, kGrid24.Centre(12));
  for (Qt::KeyboardModifier m : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    QTest::mousePress(&Pict(0), Qt::LeftButton, m, from);
    QTest::mouseMove(&Pict(0), to);
    QTest::mouseRelease(&Pict(0), Qt::LeftButton, m, to);
    // Columns 1-3, rows 0-2: dE*ab 0.5 ... 1.75, average 1.125.
    EXPECT_TRUE(Cap(Ctl::Lb_DeBox, 0).starts_with("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00="));
    EXPECT_EQ(page().Sh_Box[0]->isHidden() ? QRect() : page().Sh_Box[0]->geometry(),
              QRect(At(0, P(116, 116)), QSize(154, 154)));
    QTest::mouseClick(&Pict(0), Qt::LeftButton, m, from);  // a press without motion hides it
    EXPECT_TRUE(page().Sh_Box[0]->isHidden());
  }

  Hover(1, kGrid24.Centre(5));  // chart 1 has no File2
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 1), "");
  QTest::mouseClick(&Pict(1), Qt::RightButton, {}, At(1, kGrid24.Centre(0)));
  QTest::mouseClick(&Pict(0), Qt::RightButton, {}, At(0, kGrid24.Centre(0)));
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, true}));
}

TEST_F(ChartTest, HistogramAndThresholdPanelWorkedExamples) {
  PictureBox& g = window().PictG(0);
  const int h = g.ScaleHeight(), third = static_cast<int>(std::nearbyint(h / 3.0));
  const auto bars = [&] {  // heights read from the bars' middle columns
    std::vector<int> heights(10, h);
    for (int k = 0; k < 10; ++k) {
      for (int y = 0; y < h && g.Pixel(k * 11 + 5, y) == g.Background(); ++y)
        --heights[k];
    }
    return heights;
  };
  // Largest 4.37: top 5, bins 0.5 wide; 0.99 lands in bin 1, 1.0 in bin 2.
  LoadPair({0.1, 0.2, 0.3, 0.99, 1.0, 1.2, 4.37});
  EXPECT_EQ(bars(), (std::vector{h, third, static_cast<int>(std::nearbyint(2.0 * h / 3)), 1, 1, 1,
                                 1, 1, third, 1}));
  // Red inside black outlines, one-pixel bars for empty bins, the half-scale line.
  EXPECT_EQ(Sample(g, P(0, 0), 55, 1), "KKKKKKKKKKKWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWK|");
  EXPECT_EQ(Sample(g, P(0, h - 1), 55), "RRRRRRRRRRKRRRRRRRRRRKRRRRRRRRRRKKKKKKKKKKKKKKKKKKKKKKK|");

  LoadPair({5.0});  // no bin below the top holds a patch
  EXPECT_EQ(bars(), std::vector(10, 1));

  // 200 patches: 27 at 0.2, 168 at 1.5, 4 at 3.1 and the largest at 3.2.
  std::vector<double> d(200, 1.5);
  std::fill_n(d.begin(), 27, 0.2);
  std::fill_n(d.begin() + 195, 4, 3.1);
  d[199] = 3.2;
  LoadPair(d, 10);
  const auto panel = [&] {
    return Cap(Ctl::ChkBest) + "|" + Cap(Ctl::ChkWorst) + "|" + Cap(Ctl::Lb_UPar) + "|" +
           Cap(Ctl::Lb_OPar) + "|" + Cap(Ctl::Lb_GX) + "|" + Marks(kGrid200, {0, 100, 196, 199});
  };
  EXPECT_EQ(panel(), "Under ⊿E<0.40|Over ⊿E> 3.00|14%|3%|⊿E     4|U,,O,OM,");
  page().Opt_de[1]->click();
  EXPECT_EQ(panel(), "Under ⊿E00<0.40|Over  ⊿E00>3.00|14%|3%|⊿E00   4|U,,O,OM,");
  page().SldBest->setValue(8);  // 4 x 8 / 20
  page().SldWorst->setValue(14);
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80|98%|3%|⊿E00   4|U,U,O,OM,");
  page().ChkBest->click();  // unchecked: its labels empty, its marks gone
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80||3%|⊿E00   4|,,O,OM,");
  page().ChkWorst->click();
  EXPECT_EQ(panel(), "Under ⊿E00<1.60|Over  ⊿E00>2.80|||⊿E00   4|,,,M,");
}

// The window shown offscreen, on its data page unless a test turns back.
class OutputTest : public WindowTest {
 protected:
  void SetUp() override { Show(1); }
  void RightClick(QWidget& w) { QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(5, 5)); }
};

TEST_F(OutputTest, HeadingClicksSortTheGridAndMarkTheHeading) {
  LoadPair({3, 1, 4, 2});
  for (const auto& [col, want] :
       {std::pair{0, "No.▲ 1 2 3 4"}, {0, "No.▼ 4 3 2 1"}, {1, "ID▲ 1 2 3 4"}}) {
    ClickHeading(col);
    std::string rows = grid().Text(0, col);
    for (int r = 1; r < grid().Rows(); ++r)
      rows += " " + std::to_string(std::stoi(grid().Text(r, 0)));
    EXPECT_EQ(rows, want);
  }
}

TEST_F(OutputTest, SwatchesShowTheVisibleRowsColoursInGridOrder) {
  std::vector<double> d;  // every patch at its own L*, out of order
  for (int i = 0; i < 80; ++i)
    d.push_back((i * 37) % 80 - 30);
  Choose(0, Chart("ref.txt", Offsets(d)));
  ClickHeading(2);  // by L0: row r has L* 19 + r
  grid().verticalScrollBar()->setValue(20);
  ASSERT_EQ(grid().TopRow(), 21);
  const PictureBox& strip = window().PictD();
  const int rows = state().GridVisibleRows;
  const int h = static_cast<int>(std::nearbyint(static_cast<double>(strip.ScaleHeight()) / rows));
  for (int g = 0; g < rows; ++g)
    EXPECT_EQ(strip.Pixel(0, h * g), LabToRgb(40 + g, 0, 0)) << g;
}

TEST_F(OutputTest, ClosingTheWindowAfterTheGridShrankIsSafe) {
  Choose(0, Chart("ref.txt", Flat(80)));
  grid().ScrollToRow(60);
  Choose(0, Chart("few.txt", Flat(3)));
  window_.reset();  // the grid reports its last scroll while it is torn down
}

TEST_F(OutputTest, GridMenuCopiesEveryRow) {
  LoadPair({1});
  Choose(2, Chart("f2.txt", Offsets({2})));
  platform_.menuAnswers = {0};
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
    return QtPlatform(nullptr).WriteFile(path, bytes);
  }
};

TEST_F(OutputTest, ResultsAreWrittenInCp932AndAnIncompleteWriteKeepsTheOldFile) {
  DiskPlatform platform;
  Form1 window(platform);
  window.form().files.Lb_File_OLEDragDrop(0, {Chart("ref.txt", Flat(1))});
  window.form().files.Lb_File_OLEDragDrop(1, {Chart("f1.txt", Offsets({3}))});
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
  EXPECT_NE(platform.messages.at(0).find(path), std::string::npos);

  QTest::mouseClick(window.dataPage().But_DataR, Qt::LeftButton);
  EXPECT_EQ(written(), "\212\356\217\200:" + dir_.File("ref.txt") +
                           "\r\nFile1:" + dir_.File("f1.txt") +
                           "\r\nNo.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t"
                           "\207\231E\t\207\231E00\r\n    1\t   P1\t50.00\t0.00\t0.00\t53.00\t"
                           "0.00\t0.00\t3.00\t2.98\t\t\r\n");
}

TEST_F(OutputTest, CopyButtonsAndPictureMenusCopyAndSaveTheirOwnFiguresAndPictures) {
  Show(0);
  // dE*ab 0.1 ... 5.0: top 5, bins of 0.5; 5.0 itself falls into bin 10.
  LoadPair({0.1, 0.2, 0.3, 0.7, 1.2, 1.3, 2.2, 4.6, 5.0});
  QTest::mouseClick(window().statisticsFrame(0).CopyDe2K, Qt::LeftButton);
  EXPECT_EQ(platform_.log, (Strings{"clear", "message", "text"}));
  EXPECT_EQ(platform_.clipboardText, "   1.71\t   4.91\t\t");  // too few patches for Best, 95%
  QTest::mouseClick(window().statisticsFrame(0).CopyDe, Qt::LeftButton);
  EXPECT_EQ(platform_.clipboardText, "   1.73\t   5.00\t\t");
  window().SetCaption(Ctl::Lb_DeBox, 1, "P1-P2:P5-P6  ⊿E=1.05 Max=2.00  ⊿E00=0.98 Max=1.90");
  platform_.log.clear();
  QTest::mouseClick(page().But_CPArea[1], Qt::LeftButton);
  EXPECT_EQ(platform_.log, (Strings{"clear", "text", "message"}));
  EXPECT_EQ(platform_.clipboardText, "1.05 \t2.00 \r\n0.98 \t1.90");
  platform_.programFolder = "/opt/korimo tools";
  QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
  EXPECT_EQ(platform_.openedDocuments, Strings{"/opt/korimo tools/Korimo使用説明書.pdf"});

  const QImage picture = window().PictG(0).Image();
  const ChartGeometry& g = state().chart;
  const QImage cells = window().PictPat(0).Image().copy(
      g.CellX(0, 0), g.CellY(0, 0), g.ChartCols * g.CellSize, g.ChartRows * g.CellSize);
  platform_.log.clear();
  platform_.menuAnswers = {0, 1, 1, 0, 1};
  platform_.saveAnswers = {"/out/h", "/ro/h", "/out/k"};
  platform_.failWrites["/ro/h-ΔE.bmp"] = "No space left on device";
  for (int i = 0; i < 3; ++i)
    RightClick(window().PictG(0));
  EXPECT_EQ(ToQImage(platform_.clipboardBitmap.value()), picture);
  EXPECT_TRUE(platform_.clipboardText->starts_with("ΔE\tパッチ数\r\n0.5\t3\r\n1.0\t1\r\n"));
  EXPECT_EQ(ToQImage(platform_.savedBitmaps.at("/out/h-ΔE.bmp")), picture);
  EXPECT_TRUE(platform_.writtenFiles.at("/out/h-ΔE.txt").starts_with("\203\242E\t\203p\203b"));
  EXPECT_NE(platform_.messages.back().find("/ro/h-ΔE.bmp"), std::string::npos);
  RightClick(window().PictPat(0));
  EXPECT_EQ(ToQImage(platform_.clipboardBitmap.value()), cells);
  EXPECT_EQ(platform_.log, (Strings{"clear", "bitmap+text", "message", "clear", "bitmap"}));
  QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
  RightClick(window().PictG(0));
  EXPECT_TRUE(platform_.writtenFiles.at("/out/k-ΔE2K.txt").starts_with("\203\242E2K\t"));
}

}  // namespace
}  // namespace korimo::testing
