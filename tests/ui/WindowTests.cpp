// The main window offscreen on a fake desktop: what it shows, and how its
// controls, mouse events and drops reach the engine.
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

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

using MainWindowTest = WindowTest;

// The engine draws for the boxes as laid out (465-pixel charts, ten 11-pixel
// bars) and every box shows its picture pixel for pixel; each copy button
// copies its own pair's figures; the manual opens from the program's folder;
// a page switch redraws nothing. (That every text shows what the engine holds
// is checked after every step of the window trace.)
TEST_F(MainWindowTest, PicturesCopyButtonsAndTheManual) {
  EXPECT_EQ(window().windowTitle(), QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
  EXPECT_TRUE(page().isVisibleTo(&window()) && !window().dataPage().isVisibleTo(&window()));
  Show();
  for (DataSet s : kAllSets)
    Choose(s, std::string(KORIMO_SAMPLES_DIR) + "/small-" +
                  std::array{"reference", "file1", "file2"}[Index(s)] + ".txt");
  QTest::mouseClick(page().Opt_de[1], Qt::LeftButton);
  const WindowPictures& pictures = state().pictures;
  const WindowRecord& r = record();
  for (const Pair p : kAllPairs) {
    const std::size_t i = Index(p);
    EXPECT_EQ(std::tuple(pictures.PictPat[i].Width(), pictures.PictPat[i].Height(),
                         pictures.PictG[i].Width(), pictures.PictG[i].Height()),
              std::tuple(465, 465, 10 * 11, window().PictG(p).ScaleHeight()));
    EXPECT_TRUE(ShowsRaster(window().PictPat(p), pictures.PictPat[i]));
    EXPECT_TRUE(ShowsRaster(window().PictG(p), pictures.PictG[i]));
    QTest::mouseClick(window().statisticsFrame(p).CopyDe2K, Qt::LeftButton);
    EXPECT_EQ(platform_.clipboardText, r.Lb_De2K[2 * i] + "\t" + r.Lb_De2K[2 * i + 1] + "\t" +
                                           r.Lb_Best2K[i] + "\t" + r.Lb_Wors2K[i]);
  }
  EXPECT_TRUE(ShowsRaster(window().PictD(), pictures.PictD));
  platform_.programFolder = "/opt/korimo tools";
  QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
  EXPECT_EQ(platform_.openedDocuments.back(), "/opt/korimo tools/Korimo使用説明書.pdf");
  const auto before = pictures.PictPat[0].Revision();
  window().TabStrip1().setCurrentIndex(1);
  EXPECT_EQ(pictures.PictPat[0].Revision(), before);
}

// The command line and a drop reach the engine; text is refused, a minimized
// window comes up, and closing after the grid shrank under its scroll
// position is safe. (The window trace drops files on every kind of target.)
TEST_F(MainWindowTest, FilesComeFromTheCommandLineAndDrops) {
  const std::string ref = Chart("my ref.txt", Flat(4)), f1 = Chart("f1.txt", Offsets({1, 3, 2, 0}));
  window().Form_LoadCommandLine("\"" + ref + "\"");
  EXPECT_EQ(window().Lb_NoP(DataSet::Reference).Caption(), "4 ﾊﾟｯﾁ");
  window_ = std::make_unique<Form1>(platform_, dialogs_);
  Show();
  window().showMinimized();
  EXPECT_EQ(Offer(&window().PictPat(Pair::ReferenceFile2), {ref}), 2);
  EXPECT_FALSE(window().isMinimized());
  EXPECT_EQ(Offer(&window().But_File(DataSet::File2), {}, QString::fromStdString(ref)), 0);
  EXPECT_EQ(window().Lb_File(DataSet::Reference).Caption(), ref);
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
