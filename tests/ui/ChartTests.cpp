#include <QCheckBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <cmath>

#include "color/ColorConvert.h"
#include "core/Common.h"
#include "ui/ChartPage.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;

// Where the cells of a chart lie in the 465 x 465 drawing area.
struct Grid {
  int rows, cell, offX, offY;
  QPoint Origin(int p) const { return {offX + p / rows * cell, offY + p % rows * cell}; }
  QPoint Centre(int p) const { return Origin(p) + QPoint(cell / 2, cell / 2); }
};
constexpr Grid kGrid24{4, 77, 1, 78};     // 24 patches: 4 x 6 cells
constexpr Grid kGrid200{10, 23, 2, 117};  // 200 patches: 10 x 20 cells

using P = QPoint;

const auto Grey = [](double L) { return LabToRgb(L, 0, 0); };

// 24 differences: d first, 1 for the rest.
std::vector<double> Pad24(std::vector<double> d) {
  d.resize(24, 1.0);
  return d;
}

class ChartTest : public WindowTest {
 protected:
  PictureBox& Pict(int c) { return window().PictPat(c); }
  ChartPage& page() { return window().chartPage(); }
  std::uint32_t Px(int c, QPoint p) { return Pict(c).Pixel(p.x(), p.y()); }

  // Chart coordinates; the widget's include its border.
  void Mouse(int c, QEvent::Type type, QPoint at, Qt::MouseButton b = Qt::NoButton,
             Qt::KeyboardModifiers mods = {}) {
    const QPointF local = QPointF(at) + QPointF(Pict(c).BorderWidth(), Pict(c).BorderWidth());
    QMouseEvent event(type, local, Pict(c).mapToGlobal(local),
                      type == QEvent::MouseMove ? Qt::NoButton : b,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : b, mods);
    QApplication::sendEvent(&Pict(c), &event);
  }
  void Hover(int c, QPoint at) { Mouse(c, QEvent::MouseMove, at); }
  void Click(int c, QPoint at, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    Mouse(c, QEvent::MouseButtonPress, at, b, m);
    Mouse(c, QEvent::MouseButtonRelease, at, b, m);
  }

  // The marks as they show in the pixels of a cell of chart 0.
  bool MaxMarked(const Grid& g, int p) {
    const QPoint o = g.Origin(p);
    return Px(0, o) == kRed && Px(0, o + QPoint(5, 5)) == kBlue &&
           Px(0, o + QPoint(g.cell - 6, 5)) == kBlue;
  }
  bool UnderMarked(const Grid& g, int p) {
    const QPoint m = g.Centre(p);
    const int r = static_cast<int>(std::lround(0.3 * g.cell));
    return Px(0, m) == kBlack && Px(0, m + QPoint(r, 0)) == kWhite;
  }
  bool OverMarked(const Grid& g, int p) {
    const QPoint m = g.Centre(p);
    return Px(0, m) == kWhite && Px(0, m + QPoint(g.cell / 10 + 1, 0)) == kBlack;
  }
  bool Unmarked(const Grid& g, int p, std::uint32_t upper, std::uint32_t lower) {
    const QPoint o = g.Origin(p), m = g.Centre(p);
    return Px(0, o) == upper && Px(0, o + QPoint(5, 5)) == upper && Px(0, m) == lower &&
           Px(0, m + QPoint(g.cell / 10 + 1, 0)) == lower;
  }
  // Expects `colour` at each of the offsets from `at`.
  static void Expect(const PictureBox& box, QPoint at, std::uint32_t colour,
                     std::initializer_list<P> offsets) {
    for (P d : offsets)
      EXPECT_EQ(box.Pixel(at.x() + d.x(), at.y() + d.y()), colour)
          << at.x() + d.x() << "," << at.y() + d.y();
  }
  PictureBox& G() { return window().PictG(0); }
  int H() { return G().ScaleHeight(); }
  // Height of bar k of histogram 0, read from its middle column.
  int BarHeight(int k) {
    for (int y = 0; y < H(); ++y) {
      if (G().Pixel(k * 11 + 5, y) != G().Background())
        return H() - y;
    }
    return 0;
  }
  // 200 patches: 27 at 0.2, 168 at 1.5, 4 at 3.1 and the largest at 3.2.
  void LoadThresholdExample() {
    std::vector<double> d(200, 1.5);
    std::fill_n(d.begin(), 27, 0.2);
    std::fill_n(d.begin() + 195, 4, 3.1);
    d[199] = 3.2;
    LoadPair(d, 10);
    ASSERT_EQ(state().chart.CellSize, kGrid200.cell);
  }
  static constexpr int kUnder = 0, kMiddle = 100, kOver = 196, kLargest = 199;
  Strings Caps(std::initializer_list<Ctl> controls, int index = 0) {
    Strings texts;
    for (Ctl c : controls)
      texts.push_back(Cap(c, index));
    return texts;
  }
};

TEST_F(ChartTest, CellsAbutAndShowReferenceAboveAndFile1Below) {
  std::vector<Patch> ref, file1;
  for (int i = 0; i < 24; ++i) {
    ref.push_back({"P" + std::to_string(i + 1), 20.0 + 3 * i, 0, 0});
    file1.push_back({"P" + std::to_string(i + 1), 21.0 + 3 * i + (i == 7 ? 1 : 0), 0, 0});
  }
  Choose(0, Chart("ref.txt", ref, 4));
  Choose(1, Chart("file1.txt", file1, 4));
  ASSERT_EQ(state().chart.CellSize, 77);
  for (int p : {0, 5, 6, 23}) {  // the middle row belongs to the lower half
    const QPoint o = kGrid24.Origin(p);
    Expect(Pict(0), o, Grey(ref[p].L), {P(76, 0), P(0, 37)});
    Expect(Pict(0), o, Grey(file1[p].L), {P(0, 38), P(76, 76)});
  }
  EXPECT_TRUE(MaxMarked(kGrid24, 7));
  EXPECT_EQ(Px(0, {1, 78 + 77}), Grey(ref[1].L));
  const std::uint32_t bg = Pict(0).Background();
  Expect(Pict(0), P(0, 0), bg, {P(0, 200), P(463, 200), P(200, 77), P(200, 78 + 4 * 77)});
}

TEST_F(ChartTest, MarksNeedStrictThresholdsAndEveryShareOfTheMaximumIsMarked) {
  // Largest 4.5: scale 5, Under below 0.5, Over above 3.75, all exact in binary.
  LoadPair(Pad24({0.25, 0.5, 3.75, 4.0, 4.5, 4.5}), 4);
  EXPECT_EQ(Caps({Ctl::ChkBest, Ctl::ChkWorst, Ctl::Lb_UPar, Ctl::Lb_OPar}),
            (Strings{"Under ⊿E<0.50", "Over ⊿E> 3.75", "8%", "17%"}));  // 2 and 4 of 24
  EXPECT_TRUE(UnderMarked(kGrid24, 0));
  EXPECT_TRUE(Unmarked(kGrid24, 1, Grey(50), Grey(50.5)));
  EXPECT_TRUE(Unmarked(kGrid24, 2, Grey(50), Grey(53.75)));
  EXPECT_TRUE(OverMarked(kGrid24, 3) && !MaxMarked(kGrid24, 3));
  EXPECT_TRUE(OverMarked(kGrid24, 4) && MaxMarked(kGrid24, 4));
  EXPECT_TRUE(MaxMarked(kGrid24, 5));
  for (int p = 6; p < 24; ++p)
    EXPECT_TRUE(Unmarked(kGrid24, p, Grey(50), Grey(51))) << p;

  // Under: black centre, white ring of radius round(0.3 x 77) = 23, one pixel wide.
  const QPoint u = kGrid24.Centre(0), o = kGrid24.Centre(3);
  Expect(Pict(0), u, kBlack, {P(1, 1), P(-1, -1)});
  Expect(Pict(0), u, kWhite, {P(23, 0), P(-23, 0), P(0, 23), P(0, -23)});
  Expect(Pict(0), u, Grey(50.25), {P(2, 0), P(22, 0), P(24, 0)});
  // Over: white centre, black ring of radius 7.7 five pixels wide.
  Expect(Pict(0), o, kWhite, {P(1, 1)});
  Expect(Pict(0), o, kBlack, {P(6, 0), P(10, 0), P(-6, 0), P(-10, 0), P(0, -6), P(0, -10)});
  Expect(Pict(0), o, Grey(54), {P(5, 0), P(11, 0)});
  Expect(Pict(0), o, Grey(50), {P(0, -11)});
}

TEST_F(ChartTest, UnderRingOfThreePixelCellsHasRadiusTwo) {
  std::vector<double> d(300, 1.0);
  d[0] = 4.5;
  d[299] = 0.25;
  LoadPair(d, 150);
  ASSERT_EQ(state().chart.CellSize, 3);
  // The last cell lies at 232, 454; its ring reaches into the neighbours.
  const QPoint m(233, 455);
  Expect(Pict(0), m, kBlack, {P(-1, -1), P(1, 1), P(-1, 1)});
  Expect(Pict(0), m, kWhite, {P(-2, -1), P(-2, 0), P(-2, 1), P(-1, -2), P(0, -2), P(1, -2)});
  Expect(Pict(0), m, Grey(51), {P(-2, -2), P(-3, 0)});  // sqrt 8 lies outside the ring
}

TEST_F(ChartTest, ReferenceAloneAndIdenticalFilesDrawNoMarksAndAChartWithoutItsFileIsInert) {
  const std::vector<double> d = Pad24({3.0, 0.1, 2.0});
  Choose(0, Chart("ref.txt", Offsets(d), 4));
  for (int p = 0; p < 24; ++p)
    EXPECT_TRUE(Unmarked(kGrid24, p, Grey(50 + d[p]), Grey(50 + d[p]))) << p;
  const QImage alone = Pict(0).Image();
  Choose(1, Chart("same.txt", Offsets(d), 4));
  EXPECT_EQ(Pict(0).Image(), alone);
  EXPECT_TRUE(IsBlank(window().PictG(0)));
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "\r\n\r\n数");

  Hover(1, kGrid24.Centre(5));  // chart 1 has no File2
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 1), "");
  EXPECT_TRUE(IsBlank(Pict(1)));
  Click(1, kGrid24.Centre(0), Qt::RightButton);
  Click(0, kGrid24.Centre(0), Qt::RightButton);
  EXPECT_EQ(platform_.menuShownEnabled, (std::vector<bool>{false, true}));
}

TEST_F(ChartTest, HoverNamesThePatchBordersGoLeftAndClicksMoveTheSelectionFrame) {
  std::vector<Patch> ref = Flat(24), file1 = Flat(24);
  ref[6] = {"P7", 48, -1.25, 10};
  file1[6] = {"P7", 52, -1.25, 13};
  Choose(0, Chart("ref.txt", ref, 4));
  Choose(1, Chart("file1.txt", file1, 4));
  Hover(0, kGrid24.Centre(6));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0),
            "基準 P7  L=  48.00  a=  -1.25  b=  10.00    ⊿E  ⊿E00\r\n"
            "対象 P7  L=  52.00  a=  -1.25  b=  13.00   5.00   " +
                FormatTwoDec(data().De00[6][0]));

  const QPoint o = kGrid24.Origin(0);
  Hover(0, o + QPoint(77, 10));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0).substr(0, 10), "基準 P1 ");
  EXPECT_EQ(Px(0, o + QPoint(76, 0)), kWhite);  // the hover outline
  EXPECT_EQ(Px(0, kGrid24.Origin(4)), Grey(50));
  Hover(0, o + QPoint(78, 10));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0).substr(0, 10), "基準 P5 ");

  const QPoint a = kGrid24.Origin(5), b = kGrid24.Origin(10);
  Hover(0, kGrid24.Centre(5));
  Click(0, kGrid24.Centre(5));
  EXPECT_EQ(Cap(Ctl::Lb_FDe, 0), Cap(Ctl::Lb_PDe, 0));
  Hover(0, kGrid24.Centre(10));  // leaving the cell repaints it with its frame
  Expect(Pict(0), a, kBlue, {P(0, 0), P(76, 76)});
  Expect(Pict(0), a, kWhite, {P(1, 1), P(75, 40)});
  Expect(Pict(0), a, Grey(50), {P(2, 2)});
  Click(0, kGrid24.Centre(10));
  Hover(0, kGrid24.Centre(11));
  Expect(Pict(0), a, Grey(50), {P(0, 0), P(1, 1)});
  Expect(Pict(0), b, kBlue, {P(0, 0)});
  Expect(Pict(0), b, kWhite, {P(1, 1)});
}

TEST_F(ChartTest, ModifiedDragFramesTheAreaAndAPressWithoutMotionHidesIt) {
  std::vector<double> d(24);
  for (int i = 0; i < 24; ++i)
    d[i] = 0.125 * i;
  LoadPair(d, 4);
  const QPoint from = kGrid24.Centre(6), to = kGrid24.Centre(12);
  const int border = Pict(0).BorderWidth();
  Click(0, from, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(page().Sh_Box[0]->isHidden());
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), "領域平均　：　Shift+マウス右クリック移動");
  for (Qt::KeyboardModifier m : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    Mouse(0, QEvent::MouseButtonPress, from, Qt::LeftButton, m);
    Mouse(0, QEvent::MouseMove, to, Qt::LeftButton, m);
    Mouse(0, QEvent::MouseButtonRelease, to, Qt::LeftButton, m);
    // Columns 1-3, rows 0-2: dE*ab 0.5 ... 1.75, average 1.125.
    const std::string text = Cap(Ctl::Lb_DeBox, 0);
    EXPECT_EQ(text.rfind("P5-P7:P13-P15  ⊿E=1.13 Max=1.75  ⊿E00=", 0), 0u) << text;
    EXPECT_NE(text.find(" Max=", text.find("⊿E00=")), std::string::npos) << text;
    EXPECT_FALSE(page().Sh_Box[0]->isHidden());
    EXPECT_EQ(page().Sh_Box[0]->geometry(), QRect(116 + border, 116 + border, 154, 154));

    Click(0, from, Qt::LeftButton, m);
    EXPECT_TRUE(page().Sh_Box[0]->isHidden());
  }
}

TEST_F(ChartTest, HistogramWorkedExampleBinsBarsAndCaptions) {
  // Largest 4.37: top 5, bins 0.5 wide; 0.99 lands in bin 1, 1.0 in bin 2.
  LoadPair({0.1, 0.2, 0.3, 0.99, 1.0, 1.2, 4.37});
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "3\r\n\r\n数");
  const int third = static_cast<int>(std::nearbyint(H() / 3.0));
  const std::vector<int> heights = {
      H(), third, static_cast<int>(std::nearbyint(2.0 * H() / 3)), 1, 1, 1, 1, 1, third, 1};
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(BarHeight(k), heights[k]) << k;
  // Red inside a black outline, one-pixel bars for empty bins, the half-scale line
  // between bars 4 and 5.
  Expect(G(), P(0, 0), kBlack, {P(5, 0), P(10, H() / 2), P(38, H() - 1), P(54, 0), P(54, H() - 1)});
  Expect(G(), P(0, 0), kRed, {P(5, 1), P(27, H() - 1)});
  Expect(G(), P(0, 0), G().Background(), {P(38, H() - 2), P(53, 0)});
}

TEST_F(ChartTest, HistogramScaleTopOneAndEverythingAtTheTop) {
  LoadPair({0.25, 0.5, 1.0});
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     1");
  EXPECT_FLOAT_EQ(state().HistValue[0][0], 0.1f);

  LoadPair({5.0});  // no bin below the top holds a patch
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "0\r\n\r\n数");
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(BarHeight(k), 1) << k;
}

TEST_F(ChartTest, ThresholdPanelWorkedExampleBoxesMetricSwitchAndSliders) {
  LoadThresholdExample();
  const std::initializer_list<Ctl> panel = {Ctl::ChkBest, Ctl::ChkWorst, Ctl::Lb_UPar, Ctl::Lb_OPar,
                                            Ctl::Lb_GX};
  EXPECT_EQ(Caps(panel), (Strings{"Under ⊿E<0.40", "Over ⊿E> 3.00", "14%", "3%", "⊿E     4"}));
  EXPECT_TRUE(UnderMarked(kGrid200, kUnder));
  EXPECT_TRUE(Unmarked(kGrid200, kMiddle, Grey(50), Grey(51.5)));
  EXPECT_TRUE(OverMarked(kGrid200, kOver));
  EXPECT_TRUE(MaxMarked(kGrid200, kLargest));

  page().ChkBest->click();  // unchecked: its labels empty, its marks gone
  EXPECT_EQ(Caps({Ctl::Lb_UPar, Ctl::Lb_OPar}, 0), (Strings{"", "3%"}));
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 1), "");
  EXPECT_TRUE(Unmarked(kGrid200, kUnder, Grey(50), Grey(50.2)));
  EXPECT_TRUE(OverMarked(kGrid200, kOver));
  page().ChkWorst->click();
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "");
  EXPECT_TRUE(Unmarked(kGrid200, kOver, Grey(50), Grey(53.1)));
  page().ChkBest->click();  // the marks come back, the percentage does not
  page().ChkWorst->click();
  EXPECT_TRUE(UnderMarked(kGrid200, kUnder));
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "");

  page().Opt_de[1]->click();
  EXPECT_EQ(Caps(panel), (Strings{"Under ⊿E00<0.40", "Over  ⊿E00>3.00", "14%", "3%", "⊿E00   4"}));
  page().Opt_de[0]->click();
  page().SldBest->setValue(8);  // 4 x 8 / 20
  page().SldWorst->setValue(20);
  EXPECT_EQ(Caps(panel), (Strings{"Under ⊿E<1.60", "Over ⊿E> 4.00", "98%", "0%", "⊿E     4"}));
  EXPECT_TRUE(UnderMarked(kGrid200, kMiddle));
  EXPECT_FALSE(OverMarked(kGrid200, kOver));
}

}  // namespace
}  // namespace korimo::testing
