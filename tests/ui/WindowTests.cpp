// The main window offscreen on a fake desktop: what it shows, and how its
// controls, mouse events and drops reach the engine.
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/ClearAll.h"
#include "app/FileSelection.h"
#include "app/Render.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

// One event on an engine, rendered afterwards as the window renders it.
template <class F, class... A>
void Handle(EngineState& state, F procedure, A&&... args) {
  procedure(state, std::forward<A>(args)...);
  Render(state);
}

// The drawing area, without the area frame laid over a chart, shows the
// raster pixel for pixel (the engine packs red in the low byte).
bool ShowsRaster(PictureBox& box, const Raster& picture) {
  QImage surface(box.size(), QImage::Format_RGB32);
  box.render(&surface, QPoint(), QRegion(), QWidget::RenderFlags());
  const int border = box.BorderWidth();
  const QImage screen = surface.copy(border, border, box.ScaleWidth(), box.ScaleHeight());
  bool same = screen.width() == picture.Width() && screen.height() == picture.Height();
  for (int y = 0; same && y < picture.Height(); ++y) {
    for (int x = 0; same && x < picture.Width(); ++x) {
      const std::uint32_t p = picture.Pixel(x, y);
      same = screen.pixel(x, y) == qRgb(p & 0xFF, p >> 8 & 0xFF, p >> 16 & 0xFF);
    }
  }
  return same;
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
    EXPECT_EQ(std::tuple(chart.Width(), chart.Height(), histogram.Width(), histogram.Height()),
              std::tuple(465, 465, 10 * 11, window().PictG(p).ScaleHeight()));
  }
  for (const std::string size : {"small", "large"}) {
    window_ = std::make_unique<Form1>(platform_, dialogs_);
    Show();
    EngineState twin(state().surfaces);
    Render(twin);
    const EngineHooks hooks;
    ExpectShows(twin, "start");
    for (DataSet s : kAllSets) {
      const std::string path = std::string(KORIMO_SAMPLES_DIR) + "/" + size + "-" +
                               std::vector{"reference", "file1", "file2"}[Index(s)] + ".txt";
      Choose(s, path);
      Handle(twin, ChooseFile, s, path, hooks);
      ExpectShows(twin, size + " set " + std::to_string(Index(s)));
    }
    QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
    Handle(twin, Opt_de_Click, Metric::De00);
    for (const Pair p : kAllPairs) {  // each copy button copies its own pair's figures
      QTest::mouseClick(window().statisticsFrame(p).CopyDe2K, Qt::LeftButton);
      EXPECT_EQ(platform_.clipboardText, twin.record.Lb_De2K[2 * Index(p)] + "\t" +
                                             twin.record.Lb_De2K[2 * Index(p) + 1] + "\t" +
                                             twin.record.Lb_Best2K[Index(p)] + "\t" +
                                             twin.record.Lb_Wors2K[Index(p)]);
    }
    platform_.programFolder = "/opt/korimo tools";
    QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
    EXPECT_EQ(platform_.openedDocuments.back(), "/opt/korimo tools/Korimo使用説明書.pdf");
    const auto before = state().pictures.PictPat[0].Revision();
    window().TabStrip1().setCurrentIndex(1);  // nothing is redrawn on a page switch
    EXPECT_EQ(state().pictures.PictPat[0].Revision(), before);
    ClickHeading(grid(), 9);
    Handle(twin, FlexG_MouseDown, true);
    Handle(twin, FlexG_Click, 9);
    ExpectShows(twin, size + " dE00, sorted");
    QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);  // from the data page
    Handle(twin, But_Clear_Click);
    ExpectShows(twin, size + " cleared");
  }
}

// Each kind of drop target and the command line reach the engine; text is
// refused, a minimized window comes up, and closing after the grid shrank
// under its scroll position is safe.
TEST_F(MainWindowTest, FilesComeFromTheCommandLineAndDrops) {
  const std::string ref = Chart("my ref.txt", Flat(4)), f1 = Chart("f1.txt", Offsets({1, 3, 2, 0}));
  window().Form_LoadCommandLine("\"" + ref + "\"");
  EXPECT_EQ(window().Lb_NoP(DataSet::Reference).Caption(), "4 ﾊﾟｯﾁ");
  window_ = std::make_unique<Form1>(platform_, dialogs_);
  Show();
  window().showMinimized();
  EXPECT_EQ(Offer(&window().PictPat(Pair::ReferenceFile2), {ref}), 2);
  EXPECT_FALSE(window().isMinimized());
  Offer(grid().viewport(), {f1});
  Offer(&window().Lb_File(DataSet::File2), {f1});
  Offer(&window().But_File(DataSet::File1), {ref});
  EXPECT_EQ(Offer(&window().But_File(DataSet::File2), {}, QString::fromStdString(ref)), 0);
  EXPECT_EQ(Files(), (Strings{ref, ref, f1}));
  Offer(&window().But_File(DataSet::File2), {Chart("big.txt", Flat(3001))});  // the reader says why
  EXPECT_EQ(platform_.messages, Strings{"パッチ数が最大3000を越えました。読み込みを中止します"});
  grid().ScrollToRow(2000);
  Offer(&window().But_File(DataSet::File2), {f1});
  window_.reset();  // the grid reports its last scroll while it is torn down
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

}  // namespace
}  // namespace korimo::testing
