#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/HeadlessWindow.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/GridController.h"
#include "ui/GridModel.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

const std::string kSamples = KORIMO_SAMPLES_DIR;
const std::string kHint = "領域平均　：　Shift+マウス右クリック移動";

bool EntryAccepted(QWidget* target, const QMimeData& mime) {
  QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  return enter.isAccepted();
}

bool DropTaken(QWidget* target, const QMimeData& mime) {
  QDropEvent drop(QPointF(target->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

// A drag from the file manager: Qt delivers the drop only after the target
// accepted the drag's entry. True when the drop was taken.
bool DropOn(QWidget* target, const QMimeData& mime) {
  return EntryAccepted(target, mime) && DropTaken(target, mime);
}

// The widget a drag over the centre of `over` is offered to: the one under
// the pointer or its nearest ancestor that accepts drops, as Qt picks it.
QWidget* DragTargetOver(QWidget& window, QWidget* over) {
  const QPoint point = over->mapTo(&window, over->rect().center());
  QWidget* target = window.childAt(point);
  while (target != nullptr && !target->acceptDrops())
    target = target->parentWidget();
  return target;
}

bool IsBlank(const PictureBox& box) {
  for (int y = 0; y < box.ScaleHeight(); ++y) {
    for (int x = 0; x < box.ScaleWidth(); ++x) {
      if (box.Pixel(x, y) != box.Background())
        return false;
    }
  }
  return true;
}

class WindowViewsTest : public WindowTest {
 protected:
  ChartPage& charts() { return window().chartPage(); }
  DataPage& dataPage() { return window().dataPage(); }
  FlexGrid& grid() { return *window().dataPage().FlexG; }
  const std::vector<GridRow>& gridRows() { return grid().Model()->DataRows(); }
  bool Shown(const QWidget& w) { return w.isVisibleTo(&window()); }

  void DropFiles(QWidget* target, const std::vector<std::string>& paths) {
    const auto mime = UriList(paths);
    EXPECT_TRUE(DropOn(target, *mime));
  }

  std::string ref_ = Chart("ref.txt", Flat(4));
  std::string f1_ = Chart("f1.txt", Offsets({1, 3, 2, 0}));
  std::string f2_ = Chart("f2.txt", Offsets({2, 0, 1, 4}));
};

// ---------------------------------------------------------------------------
// Start-up state

using WindowStartUpTest = WindowViewsTest;

TEST_F(WindowStartUpTest, CaptionShowsMajorDotMinorAndRevision) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
}

TEST_F(WindowStartUpTest, ControlsStartEmptyOrAtTheirDesignValues) {
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(Cap(Ctl::Lb_File, s), "") << s;
    EXPECT_EQ(Cap(Ctl::Lb_NoP, s), "") << s;
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Cap(Ctl::Lb_De, i), "") << i;
    EXPECT_EQ(Cap(Ctl::Lb_De2K, i), "") << i;
  }
  for (int p = 0; p < 2; ++p) {
    for (Ctl c : {Ctl::Lb_BestDe, Ctl::Lb_Best2K, Ctl::Lb_WorsDe, Ctl::Lb_Wors2K, Ctl::Lb_PDe,
                  Ctl::Lb_FDe, Ctl::Lb_UPar, Ctl::Lb_OPar}) {
      EXPECT_EQ(Cap(c, p), "") << static_cast<int>(c) << " " << p;
    }
    EXPECT_EQ(Cap(Ctl::Lb_GY, p), "       数");
    EXPECT_EQ(Cap(Ctl::Lb_GX, p), "⊿E      ");
    EXPECT_EQ(Cap(Ctl::Lb_DeBox, p), kHint);
    EXPECT_FALSE(window().AreaBoxVisible(p));
  }
  EXPECT_FALSE(window().MenuItemsEnabled());

  EXPECT_TRUE(charts().Opt_de[0]->isChecked());
  EXPECT_FALSE(charts().Opt_de[1]->isChecked());
  EXPECT_TRUE(charts().ChkBest->isChecked());
  EXPECT_TRUE(charts().ChkWorst->isChecked());
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over");
  for (const QSlider* slider : {charts().SldBest, charts().SldWorst}) {
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 20);
  }
  EXPECT_EQ(window().UnderPosition(), 2);
  EXPECT_EQ(window().OverPosition(), 15);
}

TEST_F(WindowStartUpTest, ChartPageIsShownAndTheGridHoldsOnlyItsHeadings) {
  EXPECT_EQ(window().TabStrip1().currentIndex(), 0);
  EXPECT_TRUE(Shown(charts()));
  EXPECT_FALSE(Shown(dataPage()));

  EXPECT_EQ(grid().Rows(), 1);
  ASSERT_EQ(grid().Cols(), 15);
  const std::vector<std::string> names = {"No.", "ID",   "L0", "a0", "b0", "L1", "a1",  "b1",
                                          "⊿E",  "⊿E00", "L2", "a2", "b2", "⊿E", "⊿E00"};
  for (int c = 0; c < 15; ++c)
    EXPECT_EQ(grid().Text(0, c), names[c] + "\u3000") << c;
}

// ---------------------------------------------------------------------------
// Geometry the drawing and the grid rely on

using WindowLayoutTest = WindowViewsTest;

TEST_F(WindowLayoutTest, WindowAndPicturesHaveTheSizesTheDrawingAssumes) {
  EXPECT_EQ(window().size(), QSize(983, 771));
  EXPECT_EQ(window().minimumSize(), window().maximumSize());
  for (int c = 0; c < 2; ++c) {
    const PictureBox& chart = window().PictPat(c);
    EXPECT_EQ(chart.size(), QSize(469, 469)) << c;
    EXPECT_EQ(chart.BorderStyle(), PictureBox::Border::Sunken);
    EXPECT_EQ(chart.ScaleWidth(), 465);
    EXPECT_EQ(chart.ScaleHeight(), 465);
  }
  // The chart layout is computed from the size the window reports.
  EXPECT_EQ(window().ChartAreaWidth(), HeadlessWindow::kChartArea);
  EXPECT_EQ(window().ChartAreaHeight(), HeadlessWindow::kChartArea);
  // Ten bars of 11 whole pixels fill the histograms' drawing width.
  for (int p = 0; p < 2; ++p) {
    const PictureBox& histogram = window().PictG(p);
    EXPECT_EQ(histogram.width(), 112) << p;
    EXPECT_EQ(histogram.ScaleWidth(), 10 * 11) << p;
  }
}

TEST_F(WindowLayoutTest, HistogramCountLabelFitsFourDigitsBesideItsNeighbours) {
  for (int p = 0; p < 2; ++p) {
    const StatisticsFrame& frame = window().statisticsFrame(p);
    const QRect count = frame.GY->geometry();
    // At most 3000 patches fall into one bin.
    EXPECT_GE(count.width(), frame.GY->fontMetrics().horizontalAdvance(QStringLiteral("3000")));
    EXPECT_LE(count.right(), frame.PictG->geometry().left());
    EXPECT_FALSE(count.intersects(frame.CopyDe->geometry()));
    EXPECT_FALSE(count.intersects(frame.CopyDe2K->geometry()));
  }
}

TEST_F(WindowLayoutTest, GridVisibleRowsCountsTheRowsBelowTheHeading) {
  const int rows = state().GridVisibleRows;
  EXPECT_GT(rows, 0);
  EXPECT_EQ(rows, grid().HeightTwips() / grid().RowHeightTwips(1) - 1);
  // One row more than counted would not fit.
  const int rowPixels = grid().RowHeightTwips(1) / 15;
  EXPECT_LE(rows * rowPixels, grid().height());
  EXPECT_GT((rows + 2) * rowPixels, grid().height());
}

TEST_F(WindowLayoutTest, SwatchStripLiesOverColumnZeroBelowTheHeadingRow) {
  const PictureBox& strip = window().PictD();
  const int headingBottom = grid().y() + grid().RowHeightTwips(0) / 15;
  EXPECT_EQ(strip.y(), headingBottom + 2);
  EXPECT_EQ(strip.x(), 7);
  EXPECT_EQ(strip.width(), 21);
  EXPECT_GT(strip.x(), grid().x());
  EXPECT_LE(strip.x() + strip.width(), grid().x() + grid().columnWidth(0));
  EXPECT_LE(strip.y() + strip.height(), grid().y() + grid().height());
  EXPECT_GT(strip.height(), 400);
}

TEST_F(WindowLayoutTest, GridIsWidenedToTheChartPageAndColumnsFitANumber) {
  EXPECT_EQ(grid().width(), 913);  // 0.97 x 14115 twips
  const int numberWidth = grid().fontMetrics().horizontalAdvance(QStringLiteral("-100.0000"));
  for (int c = 2; c < 15; ++c)
    EXPECT_GT(grid().columnWidth(c), numberWidth) << c;
  EXPECT_GT(grid().columnWidth(0),
            window().PictD().width() + grid().fontMetrics().horizontalAdvance("No."));
}

// ---------------------------------------------------------------------------
// Page switching

using WindowPagesTest = WindowViewsTest;

TEST_F(WindowPagesTest, TabsShowOnePageAndRedrawNothing) {
  Choose(0, ref_);
  Choose(1, f1_);
  const QImage chart = window().PictPat(0).Image();
  const std::vector<GridRow> rows = gridRows();

  window().TabStrip1().setCurrentIndex(1);
  EXPECT_TRUE(Shown(dataPage()));
  EXPECT_FALSE(Shown(charts()));
  EXPECT_TRUE(Shown(window().statisticsFrame(0)));

  window().PictPat(0).Clear();
  window().TabStrip1().setCurrentIndex(0);
  EXPECT_TRUE(Shown(charts()));
  EXPECT_FALSE(Shown(dataPage()));
  EXPECT_TRUE(IsBlank(window().PictPat(0)));  // not redrawn by the switch
  EXPECT_NE(window().PictPat(0).Image(), chart);
  EXPECT_EQ(gridRows(), rows);
}

// ---------------------------------------------------------------------------
// Command line

using WindowCommandLineTest = WindowViewsTest;

TEST_F(WindowCommandLineTest, ArgumentTextWithoutEnclosingQuotesIsTheReferencePath) {
  window().Form_LoadCommandLine("\"" + ref_ + "\"");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "4 ﾊﾟｯﾁ");
  EXPECT_EQ(grid().Rows(), 5);
  EXPECT_FALSE(IsBlank(window().PictPat(0)));

  const std::string spaced = Chart("my reference file.txt", Flat(6));
  window().Form_LoadCommandLine(spaced);
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), spaced);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "6 ﾊﾟｯﾁ");
}

TEST_F(WindowCommandLineTest, TwoQuotedPathsLoseOnlyTheOuterQuotes) {
  window().Form_LoadCommandLine("\"" + ref_ + "\" \"" + f1_ + "\"");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_ + "\" \"" + f1_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), "");
}

TEST_F(WindowCommandLineTest, EmptyTextLoadsNothingAndUnreadablePathStays) {
  window().Form_LoadCommandLine("");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "");

  const std::string missing = dir_.File("missing.txt");
  window().Form_LoadCommandLine(missing);
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), missing);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(grid().Rows(), 1);
  EXPECT_TRUE(IsBlank(window().PictPat(0)));
}

// ---------------------------------------------------------------------------
// Choosing files: buttons, dialogs and drops

using WindowFileChoiceTest = WindowViewsTest;

TEST_F(WindowFileChoiceTest, FileButtonAsksItsOwnDialogAndLoadsTheAnswer) {
  platform_.openAnswers.push_back(ref_);
  QTest::mouseClick(&window().But_File(0), Qt::LeftButton);
  platform_.openAnswers.push_back(f1_);
  QTest::mouseClick(&window().But_File(1), Qt::LeftButton);
  EXPECT_EQ(platform_.openDialogSets, (std::vector<int>{0, 1}));
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "4 ﾊﾟｯﾁ");
  EXPECT_EQ(grid().Text(1, 5), "51.00");

  const QImage chart = window().PictPat(0).Image();
  platform_.openAnswers.push_back(std::nullopt);
  QTest::mouseClick(&window().But_File(1), Qt::LeftButton);
  EXPECT_EQ(platform_.openDialogSets.back(), 1);
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_EQ(window().PictPat(0).Image(), chart);
}

TEST_F(WindowFileChoiceTest, ButtonAndLabelDropsLoadTheFirstPathIntoTheirSet) {
  DropFiles(&window().But_File(0), {ref_});
  DropFiles(&window().But_File(2), {f2_, f1_, ref_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "4 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(grid().Text(1, 10), "52.00");

  DropFiles(&window().Lb_File(1), {f1_, f2_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "4 ﾊﾟｯﾁ");
  EXPECT_FALSE(Cap(Ctl::Lb_De, 0).empty());
}

TEST_F(WindowFileChoiceTest, DropOnAChartFillsTheReferenceFirstThenTheChartsFile) {
  DropFiles(window().chartPage().PictPat[1], {ref_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), "");
  DropFiles(window().chartPage().PictPat[1], {f2_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  DropFiles(window().chartPage().PictPat[0], {f1_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_FALSE(IsBlank(window().PictPat(1)));
}

TEST_F(WindowFileChoiceTest, GridDropFillsTheFirstFreeSetThenRereadsTheReference) {
  DropFiles(&window().Lb_File(0), {ref_});
  DropFiles(grid().viewport(), {f1_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), "");
  DropFiles(grid().horizontalHeader()->viewport(), {f2_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "4 ﾊﾟｯﾁ");

  // With every set chosen the drop only re-reads the Reference.
  WriteChart(ref_, Flat(6, 40));
  DropFiles(grid().viewport(), {Chart("other.txt", Flat(9))});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "6 ﾊﾟｯﾁ");
  EXPECT_EQ(grid().Text(1, 2), "40.00");
}

TEST_F(WindowFileChoiceTest, ShellLinksAreIgnoredOnLabelsAndChartsOnly) {
  Choose(0, ref_);
  const QImage chart = window().PictPat(0).Image();
  DropFiles(&window().Lb_File(1), {dir_.File("f1.lnk")});
  DropFiles(window().chartPage().PictPat[0], {dir_.File("f1.LNK")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "");
  EXPECT_EQ(window().PictPat(0).Image(), chart);

  DropFiles(&window().But_File(1), {dir_.File("f1.lnk")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), dir_.File("f1.lnk"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  DropFiles(grid().viewport(), {dir_.File("f2.LNK")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), dir_.File("f2.LNK"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "0 ﾊﾟｯﾁ");
}

TEST_F(WindowFileChoiceTest, DraggedTextIsRefusedEverywhere) {
  QMimeData text;
  text.setText(QString::fromStdString(ref_));
  for (QWidget* target :
       {static_cast<QWidget*>(&window().But_File(0)), static_cast<QWidget*>(&window().Lb_File(0)),
        static_cast<QWidget*>(window().chartPage().PictPat[0]), grid().viewport()}) {
    EXPECT_FALSE(EntryAccepted(target, text)) << target->metaObject()->className();
    // Even a drop delivered without an accepted entry is not taken.
    EXPECT_FALSE(DropTaken(target, text)) << target->metaObject()->className();
  }
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "");
}

TEST_F(WindowFileChoiceTest, OnlyFileTargetsTakeDragsFromTheFileManager) {
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  QWidget& w = window();
  EXPECT_EQ(DragTargetOver(w, &window().But_File(2)), &window().But_File(2));
  EXPECT_EQ(DragTargetOver(w, &window().Lb_File(1)), &window().Lb_File(1));
  // The area frame over a chart lets the drag through to the chart.
  window().SetAreaBoxVisible(0, true);
  window().MoveAreaBox(0, 100, 100, 300, 300);
  EXPECT_EQ(DragTargetOver(w, window().chartPage().Sh_Box[0]), &window().PictPat(0));

  // Pictures and labels that take no file refuse the drag instead of
  // swallowing it.
  for (int p = 0; p < 2; ++p)
    EXPECT_EQ(DragTargetOver(w, &window().PictG(p)), nullptr) << p;
  EXPECT_EQ(DragTargetOver(w, window().statisticsFrame(0).De[0]), nullptr);

  window().TabStrip1().setCurrentIndex(1);
  EXPECT_EQ(DragTargetOver(w, grid().viewport()), grid().viewport());
  EXPECT_EQ(DragTargetOver(w, &window().PictD()), nullptr);
}

TEST_F(WindowFileChoiceTest, DropOnAMinimisedWindowRestoresIt) {
  window().showMinimized();
  ASSERT_TRUE(window().isMinimized());
  DropFiles(&window().But_File(0), {ref_});
  EXPECT_FALSE(window().isMinimized());
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "4 ﾊﾟｯﾁ");
}

// ---------------------------------------------------------------------------
// Loading: the window shows what the engine decides

class WindowLoadTest : public WindowViewsTest {
 protected:
  void ExpectSameCaptions(const HeadlessWindow& engine, const std::string& when) {
    std::vector<std::pair<Ctl, int>> shown;
    for (int s = 0; s < 3; ++s) {
      shown.emplace_back(Ctl::Lb_File, s);
      shown.emplace_back(Ctl::Lb_NoP, s);
    }
    for (int i = 0; i < 4; ++i) {
      shown.emplace_back(Ctl::Lb_De, i);
      shown.emplace_back(Ctl::Lb_De2K, i);
    }
    for (int p = 0; p < 2; ++p) {
      for (Ctl c : {Ctl::Lb_BestDe, Ctl::Lb_Best2K, Ctl::Lb_WorsDe, Ctl::Lb_Wors2K, Ctl::Lb_UPar,
                    Ctl::Lb_OPar, Ctl::Lb_GX, Ctl::Lb_GY, Ctl::Lb_DeBox}) {
        shown.emplace_back(c, p);
      }
    }
    shown.emplace_back(Ctl::ChkBest, 0);
    shown.emplace_back(Ctl::ChkWorst, 0);
    for (const auto& [control, index] : shown) {
      EXPECT_EQ(Cap(control, index), engine.Caption(control, index))
          << when << ": control " << static_cast<int>(control) << " index " << index;
    }
    EXPECT_EQ(gridRows(), engine.GridDataRows()) << when;
  }

  void ExpectSameAsEngine(const std::string& size) {
    FakePlatform enginePlatform;
    HeadlessWindow engine(enginePlatform);
    const char* names[3] = {"reference", "file1", "file2"};
    for (int s = 0; s < 3; ++s) {
      const std::string path = kSamples + "/" + size + "-" + names[s] + ".txt";
      Choose(s, path);
      enginePlatform.openAnswers.push_back(path);
      engine.form().files.But_File_Click(s);
      ExpectSameCaptions(engine, size + " after set " + std::to_string(s));
    }
    QTest::mouseClick(charts().Opt_de[1], Qt::LeftButton);
    engine.SelectMetricDeAb(false);
    ExpectSameCaptions(engine, size + " with dE00 chosen");
  }
};

TEST_F(WindowLoadTest, SamplesShowWhatTheEngineShows) {
  ExpectSameAsEngine("small");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "24 ﾊﾟｯﾁ");
  window_ = std::make_unique<Form1>(platform_);
  ExpectSameAsEngine("large");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "1600 ﾊﾟｯﾁ");
}

TEST_F(WindowLoadTest, MissingFileKeepsChartsHistogramsAndGrid) {
  Choose(0, ref_);
  Choose(1, f1_);
  const QImage chart = window().PictPat(0).Image();
  const QImage histogram = window().PictG(0).Image();
  const std::vector<GridRow> rows = gridRows();
  ASSERT_FALSE(IsBlank(window().PictG(0)));

  Choose(1, dir_.File("gone.txt"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(window().PictPat(0).Image(), chart);
  EXPECT_EQ(window().PictG(0).Image(), histogram);
  EXPECT_EQ(gridRows(), rows);
}

TEST_F(WindowLoadTest, FailedRereadOfFile2StopsBeforeTheGrid) {
  Choose(0, ref_);
  Choose(1, f1_);
  Choose(2, f2_);
  const QImage chart0 = window().PictPat(0).Image();
  const QImage chart1 = window().PictPat(1).Image();
  const std::vector<GridRow> rows = gridRows();

  std::filesystem::remove(f2_);
  Choose(1, Chart("f1b.txt", Offsets({9, 9, 9, 9})));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "4 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "0 ﾊﾟｯﾁ");
  EXPECT_NE(window().PictPat(0).Image(), chart0);  // File1's chart was redrawn
  EXPECT_EQ(window().PictPat(1).Image(), chart1);
  EXPECT_EQ(gridRows(), rows);
}

// ---------------------------------------------------------------------------
// Clear all

class WindowClearAllTest : public WindowViewsTest {
 protected:
  void LoadAll() {
    Choose(0, ref_);
    Choose(1, f1_);
    Choose(2, f2_);
  }
  // Sorts the grid by clicking the heading of `column` as the grid reports it.
  void ClickHeading(int column) {
    grid().SetCol(column);
    window().gridController().FlexG_MouseDown(1, 0, 30, 30);
    window().gridController().FlexG_Click();
  }
};

TEST_F(WindowClearAllTest, ClearOnTheDataPageEmptiesEveryViewAndKeepsThePage) {
  LoadAll();
  window().TabStrip1().setCurrentIndex(1);
  window().gridController().FlexG_MouseUp(2, 0, 30, 600);  // right click enables the menu
  ASSERT_TRUE(window().MenuItemsEnabled());
  window().SetAreaBoxVisible(1, true);
  window().SetCaption(Ctl::Lb_DeBox, 0, "A  ⊿E=1.00 Max=2.00  ⊿E00=1.00 Max=2.00");
  window().SetCaption(Ctl::Lb_PDe, 0, "P1");
  window().SetCaption(Ctl::Lb_FDe, 1, "P2");
  ASSERT_FALSE(IsBlank(window().PictD()));
  ASSERT_NE(Cap(Ctl::ChkBest), "Under");

  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);

  EXPECT_EQ(window().TabStrip1().currentIndex(), 1);
  EXPECT_TRUE(Shown(dataPage()));
  EXPECT_FALSE(Shown(charts()));
  EXPECT_EQ(grid().Rows(), 1);
  EXPECT_TRUE(IsBlank(window().PictD()));
  for (int p = 0; p < 2; ++p) {
    EXPECT_TRUE(IsBlank(window().PictPat(p))) << p;
    EXPECT_TRUE(IsBlank(window().PictG(p))) << p;
    EXPECT_FALSE(window().AreaBoxVisible(p)) << p;
    EXPECT_EQ(Cap(Ctl::Lb_GY, p), "\r\n\r\n数");
    EXPECT_EQ(Cap(Ctl::Lb_GX, p), "");
    EXPECT_EQ(Cap(Ctl::Lb_DeBox, p), kHint);
    for (Ctl c : {Ctl::Lb_BestDe, Ctl::Lb_Best2K, Ctl::Lb_WorsDe, Ctl::Lb_Wors2K, Ctl::Lb_PDe,
                  Ctl::Lb_FDe, Ctl::Lb_UPar, Ctl::Lb_OPar}) {
      EXPECT_EQ(Cap(c, p), "") << static_cast<int>(c) << " " << p;
    }
  }
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(Cap(Ctl::Lb_File, s), "");
    EXPECT_EQ(Cap(Ctl::Lb_NoP, s), "");
    EXPECT_EQ(data().PatchCount[s], 0);
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Cap(Ctl::Lb_De, i), "");
    EXPECT_EQ(Cap(Ctl::Lb_De2K, i), "");
  }
  EXPECT_FALSE(window().MenuItemsEnabled());
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over");
}

TEST_F(WindowClearAllTest, SortMarkAndThresholdsSurviveAndTheNextLoadKeepsTheOrder) {
  LoadAll();
  ClickHeading(9);
  ClickHeading(9);
  ASSERT_EQ(grid().Text(0, 9), "⊿E00▼");
  const std::vector<float> thresholds = {data().UnderDeAb, data().OverDeAb, data().UnderDe00,
                                         data().OverDe00};
  ASSERT_GT(data().OverDeAb, 0);

  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  EXPECT_EQ(grid().Text(0, 9), "⊿E00▼");
  EXPECT_EQ(grid().Text(0, 8), "⊿E\u3000");
  EXPECT_EQ(
      (std::vector<float>{data().UnderDeAb, data().OverDeAb, data().UnderDe00, data().OverDe00}),
      thresholds);

  Choose(0, ref_);
  Choose(1, f1_);
  ASSERT_EQ(grid().Rows(), 5);
  std::vector<std::string> order;
  for (int r = 1; r <= 4; ++r)
    order.push_back(grid().Text(r, 0));
  // File1 lies 1, 3, 2, 0 above the Reference: largest difference first.
  EXPECT_EQ(order, (std::vector<std::string>{"    2", "    3", "    1", "    4"}));
}

// ---------------------------------------------------------------------------
// Area information box

class WindowAreaBoxTest : public WindowViewsTest {
 protected:
  QLineEdit& box() { return *window().chartPage().Lb_DeBox[0]; }
  void SetUp() override {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    box().setFocus();
  }
};

TEST_F(WindowAreaBoxTest, TypingChangesNothing) {
  QTest::keyClicks(&box(), "abc 12");
  QTest::keyClick(&box(), Qt::Key_Backspace);
  box().selectAll();
  QTest::keyClick(&box(), Qt::Key_Delete);
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  QTest::keyClick(&box(), Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&box(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), kHint);
}

TEST_F(WindowAreaBoxTest, CtrlCCopiesTheSelectedText) {
  QApplication::clipboard()->clear();
  box().selectAll();
  QTest::keyClick(&box(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), kHint);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), kHint);
}

}  // namespace
}  // namespace korimo::testing
