// The patch charts, their mouse inspection, the histograms and the threshold
// panel, driven through the real window and read back from its pixels.

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "color/ColorConvert.h"
#include "core/Common.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

const std::string kHint = "領域平均　：　Shift+マウス右クリック移動";

// Where the cells of a chart lie in the 465 x 465 drawing area.
struct Grid {
  int rows;
  int cell;
  int offX;
  int offY;

  QPoint Origin(int patch) const {
    return {offX + patch / rows * cell, offY + patch % rows * cell};
  }
  QPoint Centre(int patch) const { return Origin(patch) + QPoint(cell / 2, cell / 2); }
};

// 24 patches in 4 rows: 4 x 6 cells of 77 pixels.
constexpr Grid kGrid24{4, 77, 1, 78};
// 200 patches in 10 rows: 10 x 20 cells of 23 pixels.
constexpr Grid kGrid200{10, 23, 2, 117};

std::uint32_t Grey(double L) {
  return LabToRgb(L, 0, 0);
}

// Differences of 24 patches: d first, 1 for the rest.
std::vector<double> Pad24(std::vector<double> d) {
  d.resize(24, 1.0);
  return d;
}

// n patches differing by 1 except one, which alone carries the maximum mark
// and so leaves every other cell free of marks.
std::vector<double> WithLastAt(double largest, int n = 24) {
  std::vector<double> d(n, 1.0);
  d.back() = largest;
  return d;
}
std::vector<double> WithFirstAt(double largest, int n = 24) {
  std::vector<double> d(n, 1.0);
  d.front() = largest;
  return d;
}

class ChartWindowTest : public WindowTest {
 protected:
  PictureBox& Pict(int c) { return window().PictPat(c); }
  ChartPage& page() { return window().chartPage(); }
  std::uint32_t Px(int c, QPoint p) { return Pict(c).Pixel(p.x(), p.y()); }
  std::uint32_t Px(int c, int x, int y) { return Pict(c).Pixel(x, y); }

  void LoadPair(const std::vector<double>& d, int rowLength) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(1, Chart("file1.txt", Offsets(d), rowLength));
  }

  // The mouse as the desktop delivers it: widget coordinates include the
  // chart's border.
  void Mouse(int c, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
             Qt::KeyboardModifiers mods) {
    PictureBox& box = Pict(c);
    const QPointF local = QPointF(at) + QPointF(box.BorderWidth(), box.BorderWidth());
    QMouseEvent event(type, local, box.mapToGlobal(local), button, held, mods);
    QApplication::sendEvent(&box, &event);
  }
  void Hover(int c, QPoint at) { Mouse(c, QEvent::MouseMove, at, Qt::NoButton, {}, {}); }
  void Press(int c, QPoint at, Qt::MouseButton b = Qt::LeftButton,
             Qt::KeyboardModifiers mods = {}) {
    Mouse(c, QEvent::MouseButtonPress, at, b, b, mods);
  }
  void DragTo(int c, QPoint at, Qt::MouseButton b = Qt::LeftButton,
              Qt::KeyboardModifiers mods = {}) {
    Mouse(c, QEvent::MouseMove, at, Qt::NoButton, b, mods);
  }
  void Release(int c, QPoint at, Qt::MouseButton b = Qt::LeftButton,
               Qt::KeyboardModifiers mods = {}) {
    Mouse(c, QEvent::MouseButtonRelease, at, b, {}, mods);
  }
  void Click(int c, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    Press(c, at, b);
    Release(c, at, b);
  }

  // The marks as they show in the pixels of a cell.
  bool MaxMarked(int c, const Grid& g, int p) {
    const QPoint o = g.Origin(p);
    return Px(c, o) == kRed && Px(c, o + QPoint(5, 5)) == kBlue &&
           Px(c, o + QPoint(g.cell - 6, 5)) == kBlue;
  }
  bool UnderMarked(int c, const Grid& g, int p) {
    const QPoint m = g.Centre(p);
    const int r = static_cast<int>(std::lround(0.3 * g.cell));
    return Px(c, m) == kBlack && Px(c, m + QPoint(r, 0)) == kWhite;
  }
  bool OverMarked(int c, const Grid& g, int p) {
    const QPoint m = g.Centre(p);
    return Px(c, m) == kWhite && Px(c, m + QPoint(g.cell / 10 + 1, 0)) == kBlack;
  }
  bool Unmarked(int c, const Grid& g, int p, std::uint32_t upper, std::uint32_t lower) {
    const QPoint o = g.Origin(p);
    const QPoint m = g.Centre(p);
    return Px(c, o) == upper && Px(c, o + QPoint(5, 5)) == upper && Px(c, m) == lower &&
           Px(c, m + QPoint(g.cell / 10 + 1, 0)) == lower;
  }

  // Whether every line of a label's caption fits its width in its font; a
  // label cuts off whatever does not.
  static bool ShowsWhole(const CaptionLabel& label) {
    const QFontMetrics metrics(label.font());
    for (const QString& line :
         QString::fromStdString(label.Caption()).split(QStringLiteral("\r\n"))) {
      if (metrics.horizontalAdvance(line) > label.contentsRect().width())
        return false;
    }
    return true;
  }

  void ClickControl(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
  }
};

// ---------------------------------------------------------------- drawing

using ChartDrawTest = ChartWindowTest;

TEST_F(ChartDrawTest, CellsAbutAndShowReferenceAboveAndFile1Below) {
  std::vector<Patch> ref, file1;
  for (int i = 0; i < 24; ++i) {
    ref.push_back({"P" + std::to_string(i + 1), 20.0 + 3 * i, 0, 0});
    file1.push_back({"P" + std::to_string(i + 1), 21.0 + 3 * i + (i == 7 ? 1 : 0), 0, 0});
  }
  Choose(0, Chart("ref.txt", ref, 4));
  Choose(1, Chart("file1.txt", file1, 4));

  const int s = kGrid24.cell, h = s / 2;
  for (int p : {0, 5, 6, 23}) {
    SCOPED_TRACE(p);
    const QPoint o = kGrid24.Origin(p);
    const std::uint32_t upper = Grey(ref[p].L), lower = Grey(file1[p].L);
    ASSERT_NE(upper, lower);
    EXPECT_EQ(Px(0, o.x() + s - 1, o.y()), upper);
    EXPECT_EQ(Px(0, o.x(), o.y() + h - 1), upper);
    // The shared middle row belongs to the lower half, drawn last.
    EXPECT_EQ(Px(0, o.x(), o.y() + h), lower);
    EXPECT_EQ(Px(0, o.x() + s - 1, o.y() + s - 1), lower);
  }
  // Neighbours meet without a background pixel between them.
  EXPECT_EQ(Px(0, 1 + s, 78 + h), Grey(file1[4].L));
  EXPECT_EQ(Px(0, 1 + s - 1, 78 + h), Grey(file1[0].L));
  EXPECT_EQ(Px(0, 1, 78 + s), Grey(ref[1].L));
  EXPECT_EQ(Px(0, 1, 78 + s - 1), Grey(file1[0].L));

  const std::uint32_t bg = Pict(0).Background();
  EXPECT_EQ(Px(0, 0, 200), bg);
  EXPECT_EQ(Px(0, 463, 200), bg);
  EXPECT_EQ(Px(0, 200, 77), bg);
  EXPECT_EQ(Px(0, 200, 78 + 4 * s), bg);
}

TEST_F(ChartDrawTest, ReferenceAloneFillsChartZeroWithoutMarksAndLeavesChartOneBlank) {
  std::vector<double> d = Pad24({4.0});
  Choose(0, Chart("ref.txt", Offsets(d), 4));
  // Nothing is compared yet, so not even a selected patch gets its frame.
  Hover(0, kGrid24.Centre(5));
  Click(0, kGrid24.Centre(5));
  Hover(0, QPoint(200, 20));
  ASSERT_EQ(state().PrevPatch[0], 6);

  for (int p = 0; p < 24; ++p) {
    const QPoint o = kGrid24.Origin(p);
    const std::uint32_t colour = Grey(50 + d[p]);
    for (int y = 0; y < kGrid24.cell; ++y) {
      for (int x = 0; x < kGrid24.cell; ++x) {
        ASSERT_EQ(Px(0, o.x() + x, o.y() + y), colour) << "patch " << p << " at " << x << "," << y;
      }
    }
  }
  const std::uint32_t bg = Pict(1).Background();
  for (int y = 0; y < Pict(1).ScaleHeight(); y += 3) {
    for (int x = 0; x < Pict(1).ScaleWidth(); x += 3)
      ASSERT_EQ(Px(1, x, y), bg) << x << "," << y;
  }
}

TEST_F(ChartDrawTest, EveryPatchSharingTheMaximumGetsTheMaximumMark) {
  std::vector<double> d = Pad24({});
  d[3] = d[10] = d[17] = 4.0;
  LoadPair(d, 4);

  for (int p = 0; p < 24; ++p) {
    SCOPED_TRACE(p);
    if (d[p] == 4.0) {
      EXPECT_TRUE(MaxMarked(0, kGrid24, p));
      const QPoint o = kGrid24.Origin(p);
      EXPECT_EQ(Px(0, o + QPoint(kGrid24.cell - 1, kGrid24.cell - 1)), kRed);
      EXPECT_EQ(Px(0, o + QPoint(0, 60)), kRed);
    } else {
      EXPECT_TRUE(Unmarked(0, kGrid24, p, Grey(50), Grey(51)));
    }
  }
}

TEST_F(ChartDrawTest, IdenticalFilesDrawNoMarksAtAll) {
  std::vector<double> d = Pad24({3.0, 0.1, 2.0});
  Choose(0, Chart("ref.txt", Offsets(d), 4));
  Choose(1, Chart("same.txt", Offsets(d), 4));

  for (int p = 0; p < 24; ++p) {
    const QPoint o = kGrid24.Origin(p);
    const std::uint32_t colour = Grey(50 + d[p]);
    for (int y = 0; y < kGrid24.cell; ++y) {
      for (int x = 0; x < kGrid24.cell; ++x) {
        ASSERT_EQ(Px(0, o.x() + x, o.y() + y), colour) << "patch " << p << " at " << x << "," << y;
      }
    }
  }
}

// Maximum 4.5 gives the scale 5: Under below 0.5, Over above 3.75, both
// exactly representable, so the patches on the thresholds sit exactly on them.
TEST_F(ChartDrawTest, UnderAndOverMarksNeedTheThresholdsStrictlyPassed) {
  const std::vector<double> d = Pad24({0.25, 0.5, 3.75, 4.0, 4.5});
  LoadPair(d, 4);
  ASSERT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.50");
  ASSERT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 3.75");

  EXPECT_TRUE(UnderMarked(0, kGrid24, 0));
  EXPECT_TRUE(Unmarked(0, kGrid24, 1, Grey(50), Grey(50.5)));
  EXPECT_TRUE(Unmarked(0, kGrid24, 2, Grey(50), Grey(53.75)));
  EXPECT_TRUE(OverMarked(0, kGrid24, 3));
  EXPECT_TRUE(OverMarked(0, kGrid24, 4));
  // The percentages count the patches on the thresholds all the same.
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "8%");   // 2 of 24
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "13%");  // 3 of 24
}

TEST_F(ChartDrawTest, UnderMarkIsAWhiteRingAroundABlackCentre) {
  LoadPair(Pad24({0.25, 4.5}), 4);
  const QPoint m = kGrid24.Centre(0);
  const std::uint32_t lower = Grey(50.25);
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy)
      EXPECT_EQ(Px(0, m + QPoint(dx, dy)), kBlack) << dx << "," << dy;
  }
  // Radius round(0.3 x 77) = 23, one pixel wide.
  for (QPoint ring : {QPoint(23, 0), QPoint(-23, 0), QPoint(0, 23), QPoint(0, -23)})
    EXPECT_EQ(Px(0, m + ring), kWhite) << ring.x() << "," << ring.y();
  EXPECT_EQ(Px(0, m + QPoint(22, 0)), lower);
  EXPECT_EQ(Px(0, m + QPoint(24, 0)), lower);
  EXPECT_EQ(Px(0, m + QPoint(2, 0)), lower);
}

TEST_F(ChartDrawTest, OverMarkIsAFivePixelBlackRingAroundAWhiteCentre) {
  LoadPair(Pad24({4.5, 4.0}), 4);
  const QPoint m = kGrid24.Centre(1);
  const std::uint32_t lower = Grey(54), upper = Grey(50);
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy)
      EXPECT_EQ(Px(0, m + QPoint(dx, dy)), kWhite) << dx << "," << dy;
  }
  // Radius 7.7 with a line 5 wide: every pixel from 6 to 10 away is black.
  for (int r = 6; r <= 10; ++r) {
    EXPECT_EQ(Px(0, m + QPoint(r, 0)), kBlack) << r;
    EXPECT_EQ(Px(0, m + QPoint(-r, 0)), kBlack) << r;
    EXPECT_EQ(Px(0, m + QPoint(0, -r)), kBlack) << r;
  }
  EXPECT_EQ(Px(0, m + QPoint(5, 0)), lower);
  EXPECT_EQ(Px(0, m + QPoint(11, 0)), lower);
  EXPECT_EQ(Px(0, m + QPoint(0, -11)), upper);
}

// With 150 rows the cells are 3 pixels: round(0.9) = 1 would hide the ring
// under the centre dot, so the radius is raised to 2 and the ring reaches
// into the neighbours drawn before.
TEST_F(ChartDrawTest, UnderRingOfThreePixelCellsHasRadiusTwo) {
  std::vector<double> d(300, 1.0);
  d[0] = 4.5;
  d[299] = 0.25;
  LoadPair(d, 150);
  ASSERT_EQ(state().chart.CellSize, 3);

  const Grid g{150, 3, 229, 7};
  const QPoint o = g.Origin(299);
  ASSERT_EQ(o, QPoint(232, 454));
  const QPoint m = o + QPoint(1, 1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(Px(0, o + QPoint(x, y)), kBlack) << x << "," << y;
  }
  for (QPoint ring : {QPoint(-2, -1), QPoint(-2, 0), QPoint(-2, 1), QPoint(-1, -2), QPoint(0, -2),
                      QPoint(1, -2)}) {
    EXPECT_EQ(Px(0, m + ring), kWhite) << ring.x() << "," << ring.y();
  }
  EXPECT_EQ(Px(0, m + QPoint(-2, -2)), Grey(51));  // sqrt 8 lies outside the ring
  EXPECT_EQ(Px(0, m + QPoint(-3, 0)), Grey(51));
}

TEST_F(ChartDrawTest, SelectionFrameMovesFromTheOldToTheNewlyClickedPatch) {
  LoadPair(Pad24({4.5}), 4);
  const QPoint a = kGrid24.Origin(5), b = kGrid24.Origin(10);

  Hover(0, kGrid24.Centre(5));
  Click(0, kGrid24.Centre(5));
  Hover(0, kGrid24.Centre(10));  // leaving the cell repaints it with its frame
  EXPECT_EQ(Px(0, a), kBlue);
  EXPECT_EQ(Px(0, a + QPoint(kGrid24.cell - 1, kGrid24.cell - 1)), kBlue);
  EXPECT_EQ(Px(0, a + QPoint(1, 1)), kWhite);
  EXPECT_EQ(Px(0, a + QPoint(kGrid24.cell - 2, 40)), kWhite);
  EXPECT_EQ(Px(0, a + QPoint(2, 2)), Grey(50));

  Click(0, kGrid24.Centre(10));
  EXPECT_EQ(Px(0, a), Grey(50));
  EXPECT_EQ(Px(0, a + QPoint(1, 1)), Grey(50));
  Hover(0, kGrid24.Centre(11));
  EXPECT_EQ(Px(0, b), kBlue);
  EXPECT_EQ(Px(0, b + QPoint(1, 1)), kWhite);
}

TEST_F(ChartDrawTest, SwitchingToDe00MovesTheMarksToTheDe00Figures) {
  // Patch 0 differs in chroma (dE*ab 4, dE00 about 1), patch 1 in lightness
  // (dE*ab 3, dE00 about 3).
  std::vector<Patch> ref = Flat(24), file1 = Offsets(Pad24({}));
  ref[0] = {"P1", 50, 60, 0};
  file1[0] = {"P1", 50, 64, 0};
  file1[1].L = 53;
  Choose(0, Chart("ref.txt", ref, 4));
  Choose(1, Chart("file1.txt", file1, 4));
  ASSERT_LT(data().De00[0][0], data().De00[1][0]);

  EXPECT_TRUE(MaxMarked(0, kGrid24, 0));
  EXPECT_FALSE(MaxMarked(0, kGrid24, 1));
  EXPECT_TRUE(OverMarked(0, kGrid24, 0));  // 4 > 3.00

  ClickControl(page().Opt_de[1]);
  ASSERT_FALSE(window().MetricIsDeAb());
  EXPECT_FALSE(MaxMarked(0, kGrid24, 0));
  EXPECT_FALSE(OverMarked(0, kGrid24, 0));
  EXPECT_TRUE(MaxMarked(0, kGrid24, 1));
}

// ------------------------------------------------------------- inspection

class InspectTest : public ChartWindowTest {
 protected:
  std::string PDe(int c = 0) { return Cap(Ctl::Lb_PDe, c); }
  std::string DeBox(int c = 0) { return Cap(Ctl::Lb_DeBox, c); }
  QRect ShBox(int c = 0) { return page().Sh_Box[c]->geometry(); }
  bool ShBoxShown(int c = 0) { return !page().Sh_Box[c]->isHidden(); }
};

TEST_F(InspectTest, HoverShowsBothLinesWithValuesInSevenCharacterColumns) {
  std::vector<Patch> ref = Flat(24), file1 = Flat(24);
  ref[6] = {"P7", 48, -1.25, 10};
  file1[6] = {"P7", 52, -1.25, 13};
  Choose(0, Chart("ref.txt", ref, 4));
  Choose(1, Chart("file1.txt", file1, 4));

  Hover(0, kGrid24.Centre(6));
  EXPECT_EQ(PDe(),
            "基準 P7  L=  48.00  a=  -1.25  b=  10.00    ⊿E  ⊿E00\r\n"
            "対象 P7  L=  52.00  a=  -1.25  b=  13.00   5.00   " +
                FormatTwoDec(data().De00[6][0]));
  EXPECT_EQ(state().CurPatch[0], 6);
}

TEST_F(InspectTest, PatchWithoutIdentifierIsNamedA1AndSmallValuesAlignRight) {
  std::vector<Patch> ref = Flat(24), file1 = Flat(24);
  ref[0] = {"", 5.5, 0, 0};
  file1[0] = {"", 5.5, 0, 0};
  WriteChart(dir_.File("ref.txt"), ref, 4, /*withNames=*/false);
  WriteChart(dir_.File("file1.txt"), file1, 4, /*withNames=*/false);
  Choose(0, dir_.File("ref.txt"));
  Choose(1, dir_.File("file1.txt"));

  Hover(0, kGrid24.Centre(0));
  EXPECT_EQ(PDe(),
            "基準 A1    L=   5.50  a=   0.00  b=   0.00    ⊿E  ⊿E00\r\n"
            "対象 A1    L=   5.50  a=   0.00  b=   0.00   0.00   0.00");
}

TEST_F(InspectTest, PointerOnTheBorderBetweenColumnsHitsTheLeftColumn) {
  LoadPair(WithLastAt(2.0), 4);
  const QPoint o = kGrid24.Origin(0);

  Hover(0, o + QPoint(kGrid24.cell, 10));
  EXPECT_EQ(PDe().substr(0, 10), "基準 P1 ");
  EXPECT_EQ(Px(0, o + QPoint(kGrid24.cell - 1, 0)), kWhite);
  EXPECT_EQ(Px(0, kGrid24.Origin(4)), Grey(50));

  Hover(0, o + QPoint(kGrid24.cell + 1, 10));
  EXPECT_EQ(PDe().substr(0, 10), "基準 P5 ");
}

TEST_F(InspectTest, HoverOutlineIsWhiteAndErasedWhenThePointerLeavesTheCells) {
  LoadPair(WithLastAt(2.0), 4);
  const QPoint o = kGrid24.Origin(9);
  const int s = kGrid24.cell;

  Hover(0, kGrid24.Centre(9));
  EXPECT_EQ(Px(0, o), kWhite);
  EXPECT_EQ(Px(0, o + QPoint(s - 1, s - 1)), kWhite);
  EXPECT_EQ(Px(0, o + QPoint(0, s - 1)), kWhite);
  EXPECT_EQ(Px(0, o + QPoint(1, 1)), Grey(50));
  const std::string shown = PDe();

  Hover(0, QPoint(200, 20));  // the margin above the cells
  EXPECT_EQ(Px(0, o), Grey(50));
  EXPECT_EQ(Px(0, o + QPoint(s - 1, s - 1)), Grey(51));
  EXPECT_EQ(PDe(), shown);
}

TEST_F(InspectTest, EmptyGridPositionPastTheLastPatchCountsAsOutside) {
  LoadPair(WithFirstAt(2.0, 22), 4);  // positions 22 and 23 stay empty
  const QPoint last = kGrid24.Origin(21), empty = kGrid24.Origin(22);

  Hover(0, kGrid24.Centre(21));
  ASSERT_EQ(Px(0, last), kWhite);
  const std::string shown = PDe();

  Hover(0, kGrid24.Centre(22));
  EXPECT_EQ(Px(0, last), Grey(50));
  EXPECT_EQ(Px(0, empty), Pict(0).Background());
  EXPECT_EQ(PDe(), shown);
  EXPECT_EQ(state().CurPatch[0], 21);
}

TEST_F(InspectTest, ChartWithoutItsFileHasNothingToInspect) {
  LoadPair(WithFirstAt(2.0, 24), 4);  // Reference and File1: chart 1 stays blank
  Hover(1, kGrid24.Centre(5));
  EXPECT_EQ(PDe(1), "");
  EXPECT_EQ(Px(1, kGrid24.Origin(5)), Pict(1).Background());
}

TEST_F(InspectTest, ClickFixesTheHoverTextAndSelectsThePatch) {
  LoadPair(Pad24({}), 4);
  Hover(0, kGrid24.Centre(13));
  Click(0, kGrid24.Centre(13));
  EXPECT_EQ(Cap(Ctl::Lb_FDe, 0), PDe());
  EXPECT_NE(PDe(), "");
  EXPECT_EQ(state().PrevPatch[0], 14);

  // Outside every cell the click selects the patch hovered last.
  Hover(0, QPoint(200, 20));
  Click(0, QPoint(200, 20));
  EXPECT_EQ(state().PrevPatch[0], 14);
}

TEST_F(InspectTest, ShiftDragFramesTheAreaAndShowsItsStatistics) {
  std::vector<double> d(24);
  for (int i = 0; i < 24; ++i)
    d[i] = 0.125 * i;
  LoadPair(d, 4);
  const QPoint from = kGrid24.Centre(1 * 4 + 2), to = kGrid24.Centre(3 * 4 + 0);
  ASSERT_EQ(from, QPoint(116, 270));

  Press(0, from, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(ShBoxShown());
  DragTo(0, to, Qt::LeftButton, Qt::ShiftModifier);
  Release(0, to, Qt::LeftButton, Qt::ShiftModifier);

  // Patches 4-6, 8-10 and 12-14: dE*ab 0.5 ... 1.75, average 1.125.
  const std::string text = DeBox();
  EXPECT_EQ(text.rfind("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00=", 0), 0u) << text;
  EXPECT_NE(text.find(" Max=", text.find("⊿E00=")), std::string::npos) << text;
  EXPECT_TRUE(ShBoxShown());
  const int border = Pict(0).BorderWidth();
  EXPECT_EQ(ShBox(), QRect(116 + border, 116 + border, 154, 154));
  EXPECT_EQ(state().SelX[0][1], 270);
  EXPECT_EQ(state().SelY[0][1], 116);
}

TEST_F(InspectTest, ModifiedPressAndReleaseWithoutMotionHidesTheFrame) {
  LoadPair(Pad24({}), 4);
  Press(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_TRUE(ShBoxShown());
  EXPECT_EQ(ShBox().size(), QSize(2, 2));
  Release(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_FALSE(ShBoxShown());
  EXPECT_EQ(DeBox(), kHint);
}

TEST_F(InspectTest, CtrlAndAltStartDragsToo) {
  LoadPair(Pad24({}), 4);
  Press(0, kGrid24.Centre(0), Qt::LeftButton, Qt::ControlModifier);
  DragTo(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ControlModifier);
  Release(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(DeBox().rfind("P1-P2:P5-P6  ⊿E=1.00 Max=1.00", 0), 0u) << DeBox();
  EXPECT_TRUE(ShBoxShown());

  Press(0, kGrid24.Centre(0), Qt::LeftButton, Qt::AltModifier);
  DragTo(0, kGrid24.Centre(10), Qt::LeftButton, Qt::AltModifier);
  Release(0, kGrid24.Centre(10), Qt::LeftButton, Qt::AltModifier);
  EXPECT_EQ(DeBox().rfind("P1-P3:P9-P11  ⊿E=1.00 Max=1.00", 0), 0u) << DeBox();
  EXPECT_TRUE(ShBoxShown());
}

TEST_F(InspectTest, AnyPressClearsTheDragStartsOfBothCharts) {
  LoadPair(Pad24({}), 4);
  Press(0, kGrid24.Centre(0), Qt::LeftButton, Qt::ShiftModifier);
  Press(1, kGrid24.Centre(0));
  EXPECT_EQ(state().DragX0[0], 0);
  EXPECT_EQ(state().DragY0[0], 0);

  // Chart 0 is back to hovering: the motion shows patch information.
  DragTo(0, kGrid24.Centre(5));
  EXPECT_EQ(DeBox(), kHint);
  EXPECT_EQ(PDe().substr(0, 10), "基準 P6 ");
}

TEST_F(InspectTest, RightClickEnablesTheMenuOnlyForAChartWithItsFile) {
  LoadPair(Pad24({}), 4);
  Click(1, kGrid24.Centre(0), Qt::RightButton);
  Click(0, kGrid24.Centre(0), Qt::RightButton);
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(state().MenuSource, 1);
  EXPECT_EQ(state().MenuIndex, 0);
}

TEST_F(InspectTest, RightButtonDragEndsWithoutTheMenu) {
  LoadPair(Pad24({}), 4);
  Press(0, kGrid24.Centre(0), Qt::RightButton, Qt::ShiftModifier);
  DragTo(0, kGrid24.Centre(9), Qt::RightButton, Qt::ShiftModifier);
  Release(0, kGrid24.Centre(9), Qt::RightButton, Qt::ShiftModifier);
  EXPECT_TRUE(platform_.menuShownEnabled.empty());
  EXPECT_TRUE(ShBoxShown());
}

TEST_F(InspectTest, LaterLoadRecomputesTheAreaStatistics) {
  LoadPair(Pad24({}), 4);
  Press(0, kGrid24.Centre(0), Qt::LeftButton, Qt::ShiftModifier);
  DragTo(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ShiftModifier);
  Release(0, kGrid24.Centre(5), Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_EQ(DeBox().rfind("P1-P2:P5-P6  ⊿E=1.00 Max=1.00", 0), 0u) << DeBox();

  Choose(1, Chart("file1b.txt", Offsets(Pad24({2.0, 0.5, 4.0, 1.5})), 4));
  // Patches 0, 1, 4, 5: 2.0, 0.5, 1.0, 1.0.
  EXPECT_EQ(DeBox().rfind("P1-P2:P5-P6  ⊿E=1.13 Max=2.00", 0), 0u) << DeBox();
  EXPECT_TRUE(ShBoxShown());
}

// ------------------------------------------------------------- histograms

class HistogramViewTest : public ChartWindowTest {
 protected:
  PictureBox& G(int p = 0) { return window().PictG(p); }
  std::uint32_t GPx(int x, int y) { return G().Pixel(x, y); }
  int BarWidth() { return G().ScaleWidth() / 10; }
  int H() { return G().ScaleHeight(); }

  // Height of bar k, read from the top black row of its middle column.
  int BarHeight(int k) {
    const int x = k * BarWidth() + BarWidth() / 2;
    for (int y = 0; y < H(); ++y) {
      if (GPx(x, y) != G().Background())
        return H() - y;
    }
    return 0;
  }
};

TEST_F(HistogramViewTest, WorkedExampleScaleBinsAndCaptions) {
  // Largest 4.37: top 5, bins 0.5 wide; 1.0 lands in bin 2, 0.99 in bin 1.
  LoadPair({0.1, 0.99, 1.0, 1.0, 2.6, 4.37}, 0);
  const HistCounts& n = state().HistCount[0];
  EXPECT_EQ(n[0], 1);
  EXPECT_EQ(n[1], 1);
  EXPECT_EQ(n[2], 2);
  EXPECT_EQ(n[5], 1);
  EXPECT_EQ(n[8], 1);
  EXPECT_FLOAT_EQ(state().HistValue[0][0], 0.5f);
  EXPECT_FLOAT_EQ(state().HistValue[0][9], 5.0f);
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "2\r\n\r\n数");
}

TEST_F(HistogramViewTest, BarsAreScaledToTheTallestBinAndEmptyBinsShowOnePixel) {
  // Bin 0 x4, bin 2 x2, bin 8 x1 (top 5).
  LoadPair({0.1, 0.2, 0.3, 0.4, 1.1, 1.2, 4.37}, 0);
  ASSERT_EQ(G().ScaleWidth() % 10, 0);
  const int bw = BarWidth();

  EXPECT_EQ(BarHeight(0), H());
  EXPECT_EQ(BarHeight(2), static_cast<int>(std::nearbyint(2.0 * H() / 4)));
  EXPECT_EQ(BarHeight(8), static_cast<int>(std::nearbyint(1.0 * H() / 4)));
  for (int k : {1, 3, 6, 7, 9})
    EXPECT_EQ(BarHeight(k), 1) << k;

  // Red inside a black outline; the tallest bar's top row is the first row.
  EXPECT_EQ(GPx(bw / 2, 0), kBlack);
  EXPECT_EQ(GPx(bw / 2, 1), kRed);
  EXPECT_EQ(GPx(bw / 2, H() - 1), kRed);
  EXPECT_EQ(GPx(bw - 1, H() / 2), kBlack);  // right edge of bar 0
  EXPECT_EQ(GPx(bw / 2 + 2 * bw, H() - 1), kRed);
  EXPECT_EQ(GPx(bw / 2 + 1 * bw, H() - 1), kBlack);  // the one-pixel bar
  EXPECT_EQ(GPx(bw / 2 + 1 * bw, H() - 2), G().Background());

  // The half-scale line runs the whole height between bars 4 and 5.
  for (int y = 0; y < H(); ++y)
    ASSERT_EQ(GPx(5 * bw - 1, y), kBlack) << y;
  EXPECT_EQ(GPx(5 * bw - 2, 0), G().Background());
}

TEST_F(HistogramViewTest, FourDigitCountShowsInFull) {
  std::vector<double> d(3000, 0.1);
  d[0] = 4.0;
  LoadPair(d, 50);
  ASSERT_EQ(Cap(Ctl::Lb_GY, 0), "2999\r\n\r\n数");
  EXPECT_TRUE(ShowsWhole(*window().statisticsFrame(0).GY));
}

TEST_F(HistogramViewTest, MaximumOfExactlyOneGivesScaleTopOne) {
  LoadPair({0.25, 0.5, 1.0}, 0);
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     1");
  EXPECT_FLOAT_EQ(state().HistValue[0][0], 0.1f);
}

TEST_F(HistogramViewTest, EverythingAtTheScaleTopDrawsOnePixelBarsWithCountZero) {
  LoadPair({5.0}, 0);
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "0\r\n\r\n数");
  EXPECT_EQ(state().HistCount[0][10], 1);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(BarHeight(k), 1) << k;
}

TEST_F(HistogramViewTest, IdenticalFilesClearThePictureAndKeepOnlyTheAxisNames) {
  LoadPair({0.5, 1.5, 3.0}, 0);
  ASSERT_EQ(BarHeight(1), H());
  Choose(1, Chart("same.txt", Flat(3), 0));

  for (int y = 0; y < H(); ++y) {
    for (int x = 0; x < G().ScaleWidth(); ++x)
      ASSERT_EQ(GPx(x, y), G().Background()) << x << "," << y;
  }
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "\r\n\r\n数");
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E      ");
}

// -------------------------------------------------------- threshold panel

class ThresholdPanelViewTest : public ChartWindowTest {
 protected:
  // 200 patches: 27 at 0.2, 168 at 1.5, 4 at 3.1 and the largest at 3.2.
  void LoadWorkedExample() {
    std::vector<double> d(200, 1.5);
    for (int i = 0; i < 27; ++i)
      d[i] = 0.2;
    for (int i = 195; i < 199; ++i)
      d[i] = 3.1;
    d[199] = 3.2;
    LoadPair(d, 10);
    ASSERT_EQ(state().chart.CellSize, kGrid200.cell);
  }
  static constexpr int kUnder = 0, kMiddle = 100, kOver = 196, kLargest = 199;
};

TEST_F(ThresholdPanelViewTest, WorkedExampleCaptionsPercentagesAndMarks) {
  LoadWorkedExample();
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.40");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 3.00");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "14%");
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "3%");

  EXPECT_TRUE(UnderMarked(0, kGrid200, kUnder));
  EXPECT_TRUE(Unmarked(0, kGrid200, kMiddle, Grey(50), Grey(51.5)));
  EXPECT_TRUE(OverMarked(0, kGrid200, kOver));
  EXPECT_TRUE(MaxMarked(0, kGrid200, kLargest));
}

TEST_F(ThresholdPanelViewTest, MetricSwitchRewritesCaptionsPercentagesAndHistogram) {
  LoadWorkedExample();
  ClickControl(page().Opt_de[1]);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E00<0.40");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over  ⊿E00>3.00");
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E00   4");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "14%");
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "3%");

  ClickControl(page().Opt_de[0]);
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 3.00");
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     4");
}

TEST_F(ThresholdPanelViewTest, UncheckingABoxEmptiesItsPercentagesAndRemovesItsMarks) {
  LoadWorkedExample();
  ClickControl(page().ChkBest);
  ASSERT_FALSE(page().ChkBest->isChecked());
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "3%");
  EXPECT_FALSE(UnderMarked(0, kGrid200, kUnder));
  EXPECT_TRUE(Unmarked(0, kGrid200, kUnder, Grey(50), Grey(50.2)));
  EXPECT_TRUE(OverMarked(0, kGrid200, kOver));

  ClickControl(page().ChkWorst);
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "");
  EXPECT_TRUE(Unmarked(0, kGrid200, kOver, Grey(50), Grey(53.1)));

  // Checking again brings the marks back but not the percentage.
  ClickControl(page().ChkBest);
  EXPECT_TRUE(UnderMarked(0, kGrid200, kUnder));
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "");
}

TEST_F(ThresholdPanelViewTest, SlidersRedrawTheChartsWithTheNewThresholds) {
  LoadWorkedExample();
  ASSERT_FALSE(UnderMarked(0, kGrid200, kMiddle));
  page().SldBest->setValue(8);  // 4 x 8 / 20 = 1.60
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<1.60");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "98%");
  EXPECT_TRUE(UnderMarked(0, kGrid200, kMiddle));

  page().SldWorst->setValue(20);  // 4.00: nothing is over
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "0%");
  EXPECT_FALSE(OverMarked(0, kGrid200, kOver));
  EXPECT_TRUE(MaxMarked(0, kGrid200, kLargest));
}

TEST_F(ThresholdPanelViewTest, HundredPercentShowsInFullOnBothSides) {
  LoadWorkedExample();
  Choose(2, Chart("file2.txt", Offsets(std::vector<double>(200, 0.5)), 10));
  page().SldWorst->setValue(0);
  page().SldBest->setValue(20);
  for (int p = 0; p < 2; ++p) {
    SCOPED_TRACE(p);
    ASSERT_EQ(Cap(Ctl::Lb_OPar, p), "100%");
    ASSERT_EQ(Cap(Ctl::Lb_UPar, p), "100%");
    EXPECT_TRUE(ShowsWhole(*page().Lb_OPar[p]));
    EXPECT_TRUE(ShowsWhole(*page().Lb_UPar[p]));
  }
}

}  // namespace
}  // namespace korimo::testing
