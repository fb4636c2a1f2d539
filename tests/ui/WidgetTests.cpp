// The widgets the window is built from, each on its own.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/TestCharts.h"
#include "ui/FlexGrid.h"
#include "ui/GridModel.h"
#include "ui/PictureBox.h"
#include "ui/QtPlatform.h"
#include "ui/RasterImage.h"

namespace korimo {
namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

// The box drawn onto a surface of `format`, read back at the drawing-area point (x, y).
QRgb DrawnPixel(PictureBox& box, QImage::Format format, int x, int y) {
  QImage surface(box.size(), format);
  surface.fill(Qt::green);
  box.render(&surface);
  return surface.pixel(x + box.BorderWidth(), y + box.BorderWidth());
}

TEST(PictureBoxTest, ShowsItsRasterOpaqueInsideTheBorderAndRepaintsOnlyAfterAChange) {
  Raster picture(6, 4, kWhite);
  picture.SetPixel(1, 1, 0x336699);
  PictureBox box;
  box.SetBorder(PictureBox::Border::Sunken);
  box.SetOuterSizePixels(10, 8);
  box.SetPicture(&picture);
  EXPECT_EQ(std::pair(box.ScaleWidth(), box.ScaleHeight()), std::pair(6, 4));
  // Surfaces with and without an alpha channel both show the colour, opaque.
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
    EXPECT_EQ(DrawnPixel(box, format, 1, 1), qRgb(0x99, 0x66, 0x33)) << format;
    EXPECT_EQ(DrawnPixel(box, format, 0, 0), qRgb(255, 255, 255)) << format;
  }

  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  PaintCounter counter;
  box.installEventFilter(&counter);
  box.Refresh();  // nothing changed
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  picture.SetPixel(2, 2, kRed);
  box.Refresh();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
  // A conversion made before the change is not shown again after it.
  EXPECT_EQ(DrawnPixel(box, QImage::Format_ARGB32_Premultiplied, 2, 2), qRgb(255, 0, 0));
}

GridRow Row(const std::string& first) {
  GridRow row;
  row[0] = first;
  return row;
}

TEST(FlexGridTest, ShowsTheRecordOnceRefreshedAndReportsEveryNewTopRowOnce) {
  WindowRecord record = InitialRecord();
  for (int i = 0; i < 200; ++i) {
    record.FlexG.cells.push_back(Row(std::to_string(i + 1)));
    record.FlexG.order.push_back(199 - i);
  }
  FlexGrid grid;
  grid.Model()->SetRecord(&record);
  grid.resize(600, 300);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  const QAbstractItemModel& model = *grid.model();
  EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("200"));
  EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::Alignment(Qt::AlignCenter));
  EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));

  std::vector<int> tops;
  QObject::connect(&grid, &FlexGrid::scrolled, [&](int top) { tops.push_back(top); });
  grid.ScrollToRow(50);
  grid.ScrollToRow(50);
  record.FlexG.order = {0, 1, 2};  // a refill too short to stay scrolled, not yet told
  ++record.FlexG.revision;
  record.FlexG_Headings[2] = "L0▲";
  EXPECT_EQ(model.rowCount(), 200);
  grid.Model()->Refresh();
  QApplication::processEvents();
  EXPECT_EQ(std::tuple(model.rowCount(), model.index(1, 0).data().toString(),
                       model.headerData(2, Qt::Horizontal).toString()),
            std::tuple(3, QStringLiteral("2"), QStringLiteral("L0▲")));
  EXPECT_EQ(tops, (std::vector<int>{50, 1}));
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(QtPlatformTest, ClipboardTakesOpaqueBitmapsAndTextsAndFiltersBecomeQtFilters) {
  Raster twoPixels(2, 1, kWhite);
  twoPixels.SetPixel(0, 0, 0x0000FF);
  twoPixels.SetPixel(1, 0, 0x804020);
  QtPlatform platform;
  platform.ClipboardSetBitmapAndText(twoPixels, "ΔE\tパッチ数\r\n");
  const QImage image = QApplication::clipboard()->image();
  EXPECT_EQ(std::pair(image.pixel(0, 0), image.pixel(1, 0)),
            std::pair(qRgb(0xFF, 0, 0), qRgb(0x20, 0x40, 0x80)));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ΔE\tパッチ数\r\n"));
  platform.ClipboardSetBitmap(twoPixels);
  EXPECT_EQ(QApplication::clipboard()->image().pixel(0, 0), qRgb(0xFF, 0, 0));
  platform.ClipboardClear();
  EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

  EXPECT_EQ(QtPlatform::QtFileFilter("ビットマップ(*.bmp)|*.bmp"),
            QStringLiteral("ビットマップ(*.bmp)"));
  EXPECT_EQ(QtPlatform::QtFileFilter("Text|*.txt|All|*"), QStringLiteral("Text (*.txt);;All (*)"));
}

TEST(QtPlatformTest, FilesAreReplacedWholeDevicesWrittenInPlaceAndBitmapsSavedAsBmp) {
  testing::TempDir dir("platform");
  QtPlatform platform;
  const std::string path = dir.File("out.txt");
  std::ofstream(path) << "old";
  EXPECT_TRUE(platform.WriteFile(path, "new\r\n").ok());
  EXPECT_EQ(FileText(path), "new\r\n");
  EXPECT_FALSE(platform.WriteFile(dir.File("missing/out.txt"), "x").ok());
  EXPECT_TRUE(platform.WriteFile("/dev/null", "discarded").ok());
  EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());  // still the device

  Raster picture(3, 2, kWhite);
  picture.SetPixel(2, 1, kBlue);
  const std::string bitmap = dir.File("chart.bmp");
  ASSERT_TRUE(platform.SaveBitmap(picture, bitmap).ok());
  EXPECT_TRUE(FileText(bitmap).starts_with("BM"));
  const QImage read(QString::fromStdString(bitmap), "BMP");
  EXPECT_EQ(std::tuple(read.width(), read.height(), read.pixel(2, 1), read.pixel(0, 0)),
            std::tuple(3, 2, qRgb(0, 0, 0xFF), qRgb(0xFF, 0xFF, 0xFF)));
  EXPECT_FALSE(platform.SaveBitmap(Raster(), dir.File("empty.bmp")).ok());
}

}  // namespace
}  // namespace korimo
