#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <utility>

#include "app/HeadlessWindow.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/GridController.h"
#include "ui/GridModel.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

const std::string kHint = "領域平均　：　Shift+マウス右クリック移動";

// Offers a drag's entry and then its drop to `target`; how many it accepted.
int Offer(QWidget* target, const QMimeData& mime) {
  QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(target->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return int{enter.isAccepted()} + int{drop.isAccepted()};
}

class MainWindowTest : public WindowTest {
 protected:
  FlexGrid& grid() { return *window().dataPage().FlexG; }
  const std::vector<GridRow>& gridRows() { return grid().Model()->DataRows(); }
  bool Shown(const QWidget& w) { return w.isVisibleTo(&window()); }
  Strings Files() { return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)}; }
  void DropFiles(QWidget* target, const Strings& paths) {
    EXPECT_EQ(Offer(target, *UriList(paths)), 2);
  }

  // Every caption the window shows, with its index.
  static std::vector<std::pair<Ctl, int>> Labels() {
    std::vector<std::pair<Ctl, int>> all;
    for (int c = 0; c <= static_cast<int>(Ctl::ChkWorst); ++c) {
      const Ctl ctl = static_cast<Ctl>(c);
      const int n = ctl <= Ctl::Lb_NoP ? 3 : ctl <= Ctl::Lb_De2K ? 4 : ctl >= Ctl::ChkBest ? 1 : 2;
      for (int i = 0; i < n; ++i)
        all.emplace_back(ctl, i);
    }
    return all;
  }
  void ExpectEmpty(const std::string& gx, const std::string& gy) {
    for (auto [c, i] : Labels()) {
      const std::string want = c == Ctl::Lb_GX      ? gx
                               : c == Ctl::Lb_GY    ? gy
                               : c == Ctl::Lb_DeBox ? kHint
                               : c == Ctl::ChkBest  ? "Under"
                               : c == Ctl::ChkWorst ? "Over"
                                                    : "";
      EXPECT_EQ(Cap(c, i), want) << static_cast<int>(c) << "/" << i;
    }
    EXPECT_FALSE(window().MenuItemsEnabled());
    EXPECT_FALSE(window().AreaBoxVisible(0) || window().AreaBoxVisible(1));
  }

  std::string ref_ = Chart("ref.txt", Flat(4));
  std::string f1_ = Chart("f1.txt", Offsets({1, 3, 2, 0}));
  std::string f2_ = Chart("f2.txt", Offsets({2, 0, 1, 4}));
};

TEST_F(MainWindowTest, StartsEmptyWithTheGeometryTheDrawingAssumes) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
  ExpectEmpty("⊿E      ", "       数");
  EXPECT_TRUE(window().MetricIsDeAb() && window().UnderMarksOn() && window().OverMarksOn());
  EXPECT_EQ(window().UnderPosition(), 2);
  EXPECT_EQ(window().OverPosition(), 15);
  EXPECT_TRUE(Shown(window().chartPage()));
  EXPECT_FALSE(Shown(window().dataPage()));

  EXPECT_EQ(QSize(window().ChartAreaWidth(), window().ChartAreaHeight()), QSize(465, 465));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(window().PictPat(i).Image().size(), QSize(465, 465));
    EXPECT_EQ(window().PictG(i).ScaleWidth(), 10 * 11);
  }
  const Strings names = {"No.", "ID",   "L0", "a0", "b0", "L1", "a1",  "b1",
                         "⊿E",  "⊿E00", "L2", "a2", "b2", "⊿E", "⊿E00"};
  ASSERT_EQ(grid().Rows(), 1);
  for (int c = 0; c < 15; ++c)
    EXPECT_EQ(grid().Text(0, c), names[c] + "\u3000") << c;
  const int rows = state().GridVisibleRows, rowPixels = grid().RowHeightTwips(1) / 15;
  EXPECT_EQ(rows, grid().HeightTwips() / grid().RowHeightTwips(1) - 1);
  EXPECT_LE(rows * rowPixels, grid().height());
  EXPECT_GT((rows + 2) * rowPixels, grid().height());
}

TEST_F(MainWindowTest, CommandLineTextLosesOnlyItsOuterQuotes) {
  const std::string spaced = Chart("my reference file.txt", Flat(6));
  const struct {
    std::string arg, file, count;
    int gridRows;
  } cases[] = {{"", "", "", 1},
               {"\"" + ref_ + "\"", ref_, "4 ﾊﾟｯﾁ", 5},
               {spaced, spaced, "6 ﾊﾟｯﾁ", 7},
               {"\"" + ref_ + "\" \"" + f1_ + "\"", ref_ + "\" \"" + f1_, "0 ﾊﾟｯﾁ", 7}};
  for (const auto& c : cases) {
    window().Form_LoadCommandLine(c.arg);
    EXPECT_EQ(Files(), (Strings{c.file, "", ""})) << c.arg;
    EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), c.count) << c.arg;
    EXPECT_EQ(grid().Rows(), c.gridRows) << c.arg;
  }
}

TEST_F(MainWindowTest, FileButtonsAskTheirOwnDialogAndDropsPickTheSetOfTheirTarget) {
  FlexGrid& g = grid();
  DropFiles(window().chartPage().PictPat[1], {ref_, f2_});  // Reference first
  EXPECT_EQ(Files(), (Strings{ref_, "", ""}));
  DropFiles(g.viewport(), {f1_});  // the first free set
  EXPECT_EQ(Files(), (Strings{ref_, f1_, ""}));
  DropFiles(window().chartPage().PictPat[1], {f2_});
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f2_}));
  platform_.openAnswers = {f2_, std::nullopt};
  QTest::mouseClick(&window().But_File(1), Qt::LeftButton);
  QTest::mouseClick(&window().But_File(1), Qt::LeftButton);  // cancelled
  EXPECT_EQ(platform_.openDialogSets, (std::vector<int>{1, 1}));
  EXPECT_EQ(Files(), (Strings{ref_, f2_, f2_}));
  DropFiles(&window().Lb_File(1), {f1_, ref_});
  DropFiles(&window().But_File(2), {f1_, f2_});
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f1_}));
  EXPECT_EQ(grid().Text(1, 10), "51.00");

  // With every set chosen a grid drop re-reads the Reference.
  WriteChart(ref_, Flat(6, 40));
  DropFiles(g.horizontalHeader()->viewport(), {Chart("other.txt", Flat(9))});
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f1_}));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "6 ﾊﾟｯﾁ");
  EXPECT_EQ(grid().Text(1, 2), "40.00");
}

TEST_F(MainWindowTest, ShellLinksAreIgnoredOnLabelsAndChartsAndTextEverywhere) {
  Choose(0, ref_);
  const QImage chart = window().PictPat(0).Image();
  DropFiles(&window().Lb_File(1), {dir_.File("f1.lnk")});
  DropFiles(window().chartPage().PictPat[0], {dir_.File("f1.LNK")});
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "");
  EXPECT_EQ(window().PictPat(0).Image(), chart);
  DropFiles(&window().But_File(1), {dir_.File("f1.lnk")});
  DropFiles(grid().viewport(), {dir_.File("f2.LNK")});
  EXPECT_EQ(Files(), (Strings{ref_, dir_.File("f1.lnk"), dir_.File("f2.LNK")}));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "0 ﾊﾟｯﾁ");

  QMimeData text;
  text.setText(QString::fromStdString(f1_));
  for (QWidget* target : std::vector<QWidget*>{&window().But_File(1), &window().Lb_File(1),
                                               &window().PictPat(1), grid().viewport()})
    EXPECT_EQ(Offer(target, text), 0) << target->metaObject()->className();
  EXPECT_EQ(Files(), (Strings{ref_, dir_.File("f1.lnk"), dir_.File("f2.LNK")}));
}

TEST_F(MainWindowTest, CaptionsAndGridEqualTheHeadlessEnginesAfterEachLoad) {
  for (const std::string size : {"small", "large"}) {
    window_ = std::make_unique<Form1>(platform_);
    FakePlatform enginePlatform;
    HeadlessWindow engine(enginePlatform);
    const auto expectSame = [&](const std::string& when) {
      for (auto [c, i] : Labels())
        EXPECT_EQ(Cap(c, i), engine.Caption(c, i))
            << when << " " << static_cast<int>(c) << "/" << i;
      EXPECT_EQ(gridRows(), engine.GridDataRows()) << when;
    };
    const char* names[3] = {"reference", "file1", "file2"};
    for (int s = 0; s < 3; ++s) {
      const std::string path =
          std::string(KORIMO_SAMPLES_DIR) + "/" + size + "-" + names[s] + ".txt";
      Choose(s, path);
      enginePlatform.openAnswers.push_back(path);
      engine.form().files.But_File_Click(s);
      expectSame(size + " set " + std::to_string(s));
    }
    QTest::mouseClick(window().chartPage().Opt_de[1], Qt::LeftButton);
    engine.SelectMetricDeAb(false);
    expectSame(size + " dE00");
  }
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "1600 ﾊﾟｯﾁ");
}

TEST_F(MainWindowTest, FailedLoadsKeepThePreviousViews) {
  Choose(0, ref_);
  Choose(1, f1_);
  const QImage chart0 = window().PictPat(0).Image();
  const QImage histogram = window().PictG(0).Image();
  const std::vector<GridRow> rows = gridRows();
  ASSERT_FALSE(IsBlank(window().PictG(0)));

  Choose(1, dir_.File("gone.txt"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(window().PictPat(0).Image(), chart0);
  EXPECT_EQ(window().PictG(0).Image(), histogram);
  EXPECT_EQ(gridRows(), rows);
}

TEST_F(MainWindowTest, ClearAllOnTheDataPageEmptiesTheViewsAndKeepsPageSortAndThresholds) {
  Choose(0, ref_);
  Choose(1, f1_);
  Choose(2, f2_);
  window().TabStrip1().setCurrentIndex(1);
  for (int click = 0; click < 2; ++click) {
    grid().SetCol(9);
    window().gridController().FlexG_MouseDown(1, 0, 30, 30);
    window().gridController().FlexG_Click();
  }
  ASSERT_EQ(grid().Text(0, 9), "⊿E00▼");
  window().gridController().FlexG_MouseUp(2, 0, 30, 600);  // enables the menu items
  window().SetAreaBoxVisible(1, true);
  window().SetCaption(Ctl::Lb_PDe, 0, "P1");
  const float over = data().OverDeAb, under = data().UnderDe00;
  ASSERT_TRUE(window().MenuItemsEnabled());

  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  EXPECT_TRUE(Shown(window().dataPage()));
  EXPECT_FALSE(Shown(window().chartPage()));
  ExpectEmpty("", "\r\n\r\n数");
  EXPECT_EQ(grid().Rows(), 1);
  EXPECT_EQ(grid().Text(0, 9), "⊿E00▼");
  for (PictureBox* p : {&window().PictD(), &window().PictPat(0), &window().PictPat(1),
                        &window().PictG(0), &window().PictG(1)})
    EXPECT_TRUE(IsBlank(*p));
  EXPECT_EQ(std::make_pair(data().OverDeAb, data().UnderDe00), std::make_pair(over, under));

  Choose(0, ref_);
  Choose(1, f1_);
  Strings order;
  for (int r = 1; r < grid().Rows(); ++r)
    order.push_back(grid().Text(r, 0));
  EXPECT_EQ(order, (Strings{"    2", "    3", "    1", "    4"}));  // largest dE00 first
}

TEST_F(MainWindowTest, AreaBoxLetsOnlyCtrlCThrough) {
  Show();
  QLineEdit& box = *window().chartPage().Lb_DeBox[0];
  box.setFocus();
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  QTest::keyClicks(&box, "abc 12");
  QTest::keyClick(&box, Qt::Key_Backspace);
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_Delete);
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), kHint);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("pasted"));
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), kHint);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), kHint);
}

}  // namespace
}  // namespace korimo::testing
