// The widgets the window is built from, each on its own.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestCharts.h"
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

}  // namespace
}  // namespace korimo
