#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <numeric>

#include "app/ChartCells.h"
#include "app/ChartLayout.h"
#include "app/FileSelection.h"
#include "app/GridRows.h"
#include "app/Histogram.h"
#include "app/ThresholdPanel.h"
#include "core/Common.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class Engine : public EngineTest {
 protected:
  Strings Caps(std::initializer_list<Ctl> controls, int index = 0) const {
    Strings out;
    for (Ctl c : controls)
      out.push_back(Cap(c, index));
    return out;
  }
  Strings Files() const {
    return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)};
  }
  Strings Numbers() const {  // the grid's first column
    Strings out;
    for (const GridRow& row : window_.GridDataRows())
      out.push_back(row[0]);
    return out;
  }
  FileSelection& files() { return window_.form().files; }
  const HistCounts& counts() { return state().HistCount[0]; }
  const Strings up_{"    1", "    2", "    3"}, down_{"    3", "    2", "    1"};
};

TEST_F(Engine, TwentyPatchExampleAndPercentilesFromFifteenPatches) {
  std::vector<double> d(20);  // 0.1, 0.2, .. 2.0
  std::iota(d.begin(), d.end(), 1.0);
  for (double& x : d)
    x /= 10;
  LoadPair(d);
  EXPECT_EQ(Caps({Ctl::Lb_De, Ctl::Lb_BestDe, Ctl::Lb_WorsDe}),
            (Strings{"   1.05", "   0.20", "   2.00"}));
  EXPECT_EQ(Caps({Ctl::Lb_De, Ctl::Lb_De2K}, 1),
            (Strings{"   2.00", FormatFixed7(data().MaxDe00[0])}));
  EXPECT_EQ(Cap(Ctl::Lb_De, 2), "");  // pair 1 is not complete
  window_.SetCaption(Ctl::Lb_WorsDe, 0, "before");
  LoadPair({d.begin(), d.begin() + 14});
  EXPECT_EQ((Strings{Cap(Ctl::Lb_De, 1), Cap(Ctl::Lb_WorsDe)}), (Strings{"   1.40", "before"}));
  LoadPair({d.begin(), d.begin() + 15});
  EXPECT_EQ(Caps({Ctl::Lb_BestDe, Ctl::Lb_WorsDe}), (Strings{"   0.20", "   1.50"}));
}

TEST_F(Engine, PatchesArePairedByPositionAndCountedUntilTheReferenceReloads) {
  Choose(0, Chart("ref.txt", Offsets({0, 1, 2})));
  Choose(1, Chart("f1.txt", {{"P3", 52, 0, 0}, {"P2", 51, 0, 0}, {"P1", 50.5, 0, 0}}));
  EXPECT_EQ((std::array{data().DeAb[0][0], data().DeAb[2][0]}), (std::array{2.0f, 1.5f}));
  EXPECT_EQ(data().PatchId[0], "P3");  // identifiers travel with the lines
  const std::string ref = Chart("ref.txt", Offsets(Same(100, 1)));
  Choose(0, ref);
  Choose(1, Chart("f1.txt", Flat(80)));
  EXPECT_EQ(Cap(Ctl::Lb_De), "   1.00");  // 80 patches, all 1 apart
  Choose(0, ref);                         // 100 patches: 80 at 1, 20 against (0, 0, 0) at 51
  EXPECT_EQ(Cap(Ctl::Lb_De), FormatFixed7((80 * 1.0 + 20 * 51.0) / 100));
  Choose(0, Chart("ref.txt", Flat(20)));
  Choose(1, Chart("f1.txt", Offsets(Same(10, 1))));  // divides by 10; 10 of 20 sorted are 0
  EXPECT_EQ(Caps({Ctl::Lb_De, Ctl::Lb_BestDe}), (Strings{"   1.00", "   0.00"}));
}

TEST_F(Engine, RereadRulesAndFailedReads) {
  const std::string f2 = Chart("f2.txt", Offsets(Same(5, 2)));
  LoadPair(Same(5, 1));
  Choose(2, f2);
  WriteChart(dir_.File("f1.txt"), Offsets(Same(5, 7)));
  WriteChart(f2, Offsets(Same(5, 8)));
  Choose(0, dir_.File("ref.txt"));  // a Reference load re-reads File2, not File1
  EXPECT_EQ((std::array{data().Lab1[0][0], data().Lab2[0][0]}), (std::array{51.0, 58.0}));
  Choose(2, f2);  // a sample file load re-reads the other one
  EXPECT_EQ(data().Lab1[0][0], 57.0);
  const std::string average = Cap(Ctl::Lb_De);
  const auto grid = window_.GridDataRows();
  Choose(1, dir_.File("missing.txt"));  // an unreadable file keeps the views
  EXPECT_EQ((Strings{Cap(Ctl::Lb_NoP, 1), Cap(Ctl::Lb_De)}), (Strings{"0 ﾊﾟｯﾁ", average}));
  EXPECT_EQ(window_.GridDataRows(), grid);
  std::filesystem::remove(f2);  // a deleted File2 stops the File1 load before the grid
  Choose(1, Chart("f1b.txt", Offsets(Same(5, 3))));
  EXPECT_EQ(Caps({Ctl::Lb_NoP, Ctl::Lb_File}, 2), (Strings{"0 ﾊﾟｯﾁ", f2}));  // kept for a retry
  EXPECT_EQ(window_.GridDataRows(), grid);
  EXPECT_EQ(data().MaxDeAb[0], 0.0f);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Engine, LoadsRecomputeTheStoredArea) {
  Choose(0, Chart("ref.txt", Flat(24), 4));
  state().SelX[0] = {10, 10, 0};  // the whole first column of the 4 x 6 layout
  state().SelY[0] = {100, 350, 0};
  window_.SetAreaBoxVisible(0, true);
  Choose(1, Chart("f1.txt", Offsets(Same(24, 1))));
  const std::string de00 = FormatTwoDec(data().De00[0][0]);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox), "P1-P4:P1-P4  ⊿E=1.00 Max=1.00  ⊿E00=" + de00 + " Max=" + de00);
  EXPECT_TRUE(window_.AreaBoxVisible(0));
  Choose(2, Chart("f2.txt", Flat(24)));
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 1), kAreaHint);
  state().SelX[0][1] = 0;  // x = 0: no area
  Choose(1, dir_.File("f1.txt"));
  EXPECT_FALSE(window_.AreaBoxVisible(0));
}

TEST_F(Engine, FileSelectionDropRulesAndCommandLine) {
  const std::string ref = Chart("ref.txt", Flat(4)), f1 = Chart("f1.txt", Flat(4)),
                    f2 = Chart("f2.txt", Flat(4));
  platform_.openAnswers.push_back(std::nullopt);
  files().But_File_Click(1);  // cancelled
  EXPECT_EQ(platform_.openDialogSets, std::vector<int>{1});
  files().Lb_File_OLEDragDrop(0, {dir_.File("a.LNK")});  // labels and charts ignore links
  files().PictPat_OLEDragDrop(0, {dir_.File("b.lnk")});
  EXPECT_EQ(Files(), (Strings{"", "", ""}));
  files().PictPat_OLEDragDrop(1, {ref});  // charts fill the Reference first
  files().PictPat_OLEDragDrop(1, {f2});
  files().PictPat_OLEDragDrop(0, {f1});
  EXPECT_EQ(Files(), (Strings{ref, f1, f2}));
  files().But_File_OLEDragDrop(2, {f1, ref, f2});  // buttons take the first path only
  files().But_File_OLEDragDrop(2, {});
  files().But_File_OLEDragDrop(0, {dir_.File("c.lnk")});  // and links
  EXPECT_EQ(Files(), (Strings{dir_.File("c.lnk"), f1, f1}));
  window_.ClearAll();  // the grid fills the first free set, then re-reads the Reference
  for (const std::string& path : {ref, f1, f2})
    files().FlexG_OLEDragDrop({path});
  WriteChart(ref, Flat(6));
  files().FlexG_OLEDragDrop({Chart("other.txt", Flat(4))});
  EXPECT_EQ(Files(), (Strings{ref, f1, f2}));
  EXPECT_EQ(Cap(Ctl::Lb_NoP), "6 ﾊﾟｯﾁ");
  // The command line drops only the outer characters of a quoted text.
  const std::pair<const char*, const char*> arguments[] = {{"\"/a b\"", "/a b"},
                                                           {"/a b", "/a b"},
                                                           {"\"/a\" \"/b\"", "/a\" \"/b"},
                                                           {"\"/a.txt", "/a.tx"}};
  for (const auto& [text, path] : arguments)
    EXPECT_EQ(ReferencePathFromArguments(text), path);
  WriteChart(ref, Flat(4));
  files().CommandLine("\"" + ref + "\"");
  EXPECT_EQ(Cap(Ctl::Lb_NoP), "4 ﾊﾟｯﾁ");
  files().CommandLine("");
  EXPECT_EQ(Cap(Ctl::Lb_File), ref);
}

TEST_F(Engine, HistogramWorkedExampleTopOneAllAtTheTopIdenticalFilesAndExtremes) {
  LoadPair({1.0, 0.99, 4.37, 0.2});
  EXPECT_EQ(Caps({Ctl::Lb_GX, Ctl::Lb_GY}), (Strings{"⊿E     5", "1\r\n\r\n数"}));
  EXPECT_EQ(state().HistValue[0], (HistValues{0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 0}));
  EXPECT_EQ(counts(), (HistCounts{1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0}));  // 1.0 / 0.5 = 2
  LoadPair({1.0, 0.5});  // w = 0.1 is stored as 0.100000001: 1.0 / w stays below 10
  EXPECT_EQ(Cap(Ctl::Lb_GX), "⊿E     1");
  EXPECT_EQ(counts(), (HistCounts{0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
  LoadPair({5.0});  // everything in bin 10: m = 0, bars one pixel high
  EXPECT_EQ(counts()[10], 1);
  EXPECT_EQ(Cap(Ctl::Lb_GY), "0\r\n\r\n数");
  const HistogramOutcome out = CountHistogram(state(), window_, 0);
  EXPECT_TRUE(out.drawBars);
  for (const HistogramBar& bar : HistogramBars(counts(), out.maxCount, 110, 47))
    EXPECT_EQ(bar.y1 - bar.y2, 1);
  LoadPair({0, 0, 0});
  EXPECT_FALSE(CountHistogram(state(), window_, 0).drawBars);
  EXPECT_EQ(Caps({Ctl::Lb_GY, Ctl::Lb_GX}), (Strings{"\r\n\r\n数", "⊿E      "}));
  // Opposite extreme readings: the difference exceeds the single range and saturates.
  Choose(0, Chart("ref.txt", {{"A", 3.4e38, 3.4e38, 0}, {"B", 0, 0, 0}}));
  Choose(1, Chart("f1.txt", {{"A", -3.4e38, -3.4e38, 0}, {"B", 1e-30, 0, 0}}));
  EXPECT_EQ(data().MaxDeAb[0], std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isfinite(data().OverDeAb));
  EXPECT_TRUE(Cap(Ctl::Lb_GX).starts_with("⊿E     3402823"));
  EXPECT_EQ(counts()[10] + counts()[0], 2);
}

TEST_F(Engine, ThresholdScaleAndWorkedExample) {
  const std::pair<float, float> scales[] = {
      {0, 1},   {1, 1},   {2, 2},      {4, 4},      {5, 5},   {5.0001f, 10}, {10, 10},
      {20, 20}, {25, 30}, {29.5f, 30}, {29.6f, 40}, {30, 40}, {35, 40}};
  for (const auto& [maximum, scale] : scales)
    EXPECT_EQ(ThresholdScale(maximum), scale) << maximum;
  // 200 patches: 27 at 0.3, 5 from 3.0 up to the maximum 3.2, the rest at 1.
  std::vector<double> d(200, 1.0);
  std::fill_n(d.begin(), 27, 0.3);
  std::fill_n(d.begin() + 27, 5, 3.0);
  d[31] = 3.2;
  LoadPair(d);
  // 13.5% rounds away from zero; 2.5%, as 3.0 itself counts as Over.
  EXPECT_EQ(Caps({Ctl::ChkBest, Ctl::ChkWorst, Ctl::Lb_UPar, Ctl::Lb_OPar}),
            (Strings{"Under ⊿E<0.40", "Over ⊿E> 3.00", "14%", "3%"}));
  window_.SetOverPosition(20);
  EXPECT_EQ(Caps({Ctl::ChkWorst, Ctl::Lb_OPar}), (Strings{"Over ⊿E> 4.00", "0%"}));
  Choose(1, Chart("far.txt", Offsets(Same(200, 35))));
  window_.SetUnderPosition(20);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<10.00");  // scale 40, capped at 10
}

TEST(ChartShape, RowLengthThenIdentifiersThenTheLargestDivisorBelowTheRoot) {
  std::vector<std::string> ids;  // A1, A2, .. A22, B1, .. L22
  for (int i = 0; i < 264; ++i)
    ids.push_back(char('A' + i / 22) + std::to_string(1 + i % 22));
  std::vector<std::string> gs0(ids.begin(), ids.begin() + 22);  // GS0 stops the walk;
  gs0.push_back("GS0");                                         // the fallback searches down
  gs0.resize(288, "X999");
  const std::tuple<int, int, Strings, int, int> shapes[] = {
      {24, 6, {}, 6, 4},     {7, 10, {}, 10, 1}, {264, 0, ids, 22, 12},
      {288, 0, gs0, 18, 16}, {24, 0, {}, 4, 6},  {13, 0, {}, 1, 13}};
  for (const auto& [n, rowLength, names, rows, cols] : shapes) {
    FormState state;
    state.data->PatchCount[0] = static_cast<std::int16_t>(n);
    state.data->RowLength[0] = static_cast<std::int16_t>(rowLength);
    std::copy(names.begin(), names.end(), state.data->PatchId.begin());
    ChooseChartShape(state);
    EXPECT_EQ((std::array<int, 2>{state.chart.ChartRows, state.chart.ChartCols}),
              (std::array{rows, cols}))
        << n;
  }
}

TEST(ChartShape, LayoutCentresSquareCellsAndSharedBordersGoToTheLowerCell) {
  FormState state;
  state.data->PatchCount[0] = 24;
  ChooseChartShape(state);  // 4 rows x 6 columns
  LayoutChart(state, 465, 465);
  const ChartGeometry& g = state.chart;
  EXPECT_EQ(g.CellSize, 77);
  EXPECT_EQ((std::array{g.CellX(0, 0), g.CellY(0, 0), g.CellX(5, 3), g.CellY(5, 3)}),
            (std::array{1, 78, 1 + 5 * 77, 78 + 3 * 77}));
  EXPECT_EQ((std::array{g.CellX(6, 0), g.CellX(99, 99)}), (std::array{0, 0}));  // spare, past
  // x = 78 is X + CellSize of column 0.
  EXPECT_EQ((std::array{HitTestCell(g, 78, 100).patch, HitTestCell(g, 79, 100).patch,
                        HitTestCell(g, 0, 100).patch, HitTestCell(g, 100, 77).patch}),
            (std::array{0, 4, -1, -1}));
}

TEST_F(Engine, GridHeadingMarksAndTheNumberIdQuirk) {
  Choose(0, Chart("ref.txt", Flat(3)));
  const auto& headings = window_.GridHeadings();
  window_.ClickGridHeading(0);
  EXPECT_EQ(headings[0], "No.▲");
  window_.ClickGridHeading(0);
  EXPECT_EQ(headings[0], "No.▼");
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(1);  // stored key 1 equals "ID": reverses instead
  EXPECT_EQ((Strings{headings[0], headings[1]}), (Strings{"No.\u3000", "ID▲"}));
  EXPECT_EQ(state().GridSortKey, 1);
  window_.ClickGridHeading(9);
  EXPECT_EQ((Strings{headings[1], headings[9]}), (Strings{"ID\u3000", "⊿E00▲"}));
}

TEST_F(Engine, GridTiesSortStateAcrossClearAllAndOnlyFile1) {
  LoadPair({2, 2, 1});
  window_.ClickGridHeading(8);  // ties follow the exchange order both ways
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(8);
  EXPECT_EQ(Numbers(), up_);
  window_.ClickGridHeading(9);
  window_.ClickGridHeading(9);
  window_.ClearAll();
  EXPECT_TRUE(window_.GridDataRows().empty());
  EXPECT_EQ(window_.GridHeadings()[9], "⊿E00▼");   // the sort survives clear-all
  Choose(1, Chart("f1.txt", Offsets({3, 1, 2})));  // only File1: the sort covers 0 entries
  EXPECT_EQ(Numbers(), down_);
  window_.ClickGridHeading(5);
  EXPECT_EQ(Numbers(), up_);
}

}  // namespace
}  // namespace korimo::testing
