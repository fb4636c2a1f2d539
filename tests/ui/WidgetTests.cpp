#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "ui/BitmapConvert.h"
#include "ui/FlexGrid.h"
#include "ui/PictureBox.h"
#include "ui/QtPlatform.h"

namespace korimo {
namespace {

// The top-left w x h pixels of `box`: '.' for the background, else the colour's value.
std::string Picture(const PictureBox& box, int w, int h) {
  std::string rows;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      rows += box.Pixel(x, y) == box.Background() ? '.' : static_cast<char>('0' + box.Pixel(x, y));
    rows += '|';
  }
  return rows;
}

TEST(PictureBoxTest, ShapesCoverExactlyTheirPixels) {
  PictureBox box;
  box.SetOuterSizePixels(20, 10);
  box.SetPixel(13, 7, 0x336699);
  EXPECT_EQ(box.Image().pixel(13, 7), qRgb(0x99, 0x66, 0x33));
  EXPECT_EQ(box.ToBitmap().pixels.at(7 * box.ScaleWidth() + 13), 0x336699u);
  box.FillRect(3, 2, 1, 1, 1);  // both corners belong to it
  box.FillRect(5, 0, 6, 1, 2);  // and neighbours abut
  box.FillRect(7, 0, 8, 1, 3);
  EXPECT_EQ(Picture(box, 10, 4), ".....2233.|.111.2233.|.111......|..........|");
  box.Clear();
  box.Circle(2, 2, 2.0, 4);
  EXPECT_EQ(Picture(box, 6, 5), ".444..|4...4.|4...4.|4...4.|.444..|");
}

TEST(PictureBoxTest, MouseReportsDrawingAreaPositionsAndCodesAndDropsOnlyLocalFiles) {
  PictureBox box;
  box.SetBorder(PictureBox::Border::Sunken);
  box.SetOuterSizePixels(40, 30);
  QSignalSpy down(&box, &PictureBox::mouseDown), up(&box, &PictureBox::mouseUp);
  QSignalSpy move(&box, &PictureBox::mouseMove), dropped(&box, &PictureBox::filesDropped);
  QTest::mouseClick(&box, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(12, 7));
  QMouseEvent hover(QEvent::MouseMove, QPointF(9, 4), box.mapToGlobal(QPointF(9, 4)), Qt::NoButton,
                    Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
  QApplication::sendEvent(&box, &hover);
  EXPECT_EQ(down.value(0), (QList<QVariant>{1, 5, 10.0f, 5.0f}));
  EXPECT_EQ(up.value(0), down.value(0));
  EXPECT_EQ(move.value(0), (QList<QVariant>{3, 2, 7.0f, 2.0f}));

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/基準 1.txt")),
                 QUrl(QStringLiteral("https://example.com/x.txt")),
                 QUrl::fromLocalFile(QStringLiteral("/data/b.txt"))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &drop);
  EXPECT_EQ(dropped.value(0).value(0).toStringList(),
            (QStringList{QStringLiteral("/data/基準 1.txt"), QStringLiteral("/data/b.txt")}));
}

TEST(FlexGridTest, TextsRowsAndHeadingPresses) {
  FlexGrid grid;
  grid.SetDataRows(std::vector<GridRow>(3));
  grid.resize(600, 300);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  grid.SetText(0, 2, "L0▲");
  std::string events;
  QObject::connect(&grid, &FlexGrid::mouseDown, [&](int button, int, float, float y) {
    events += "down" + std::to_string(button) + (y < grid.RowHeightTwips(0) ? " heading" : " row");
  });
  QObject::connect(&grid, &FlexGrid::clicked,
                   [&] { events += " click" + std::to_string(grid.Col()) + ","; });
  QHeaderView* header = grid.horizontalHeader();
  const int x = header->sectionViewportPosition(3) + 5;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(x, 0));  // the top data row
  EXPECT_EQ(events, "down1 heading click3,down1 row click3,");
  grid.SetRows(1);
  EXPECT_EQ(grid.Text(0, 2) + std::to_string(grid.Rows()), "L0▲1");
}

TEST(QtPlatformTest, ClipboardBitmapsAndTextsAndFilters) {
  const Bitmap twoPixels{2, 1, {0x0000FF, 0x804020}};
  EXPECT_EQ(FromQImage(ToQImage(twoPixels)).pixels, twoPixels.pixels);
  QtPlatform platform(nullptr);
  platform.ClipboardSetBitmapAndText(twoPixels, "ΔE\tパッチ数\r\n");
  EXPECT_EQ(QApplication::clipboard()->image().pixel(1, 0), qRgb(0x20, 0x40, 0x80));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ΔE\tパッチ数\r\n"));
  platform.ClipboardClear();
  EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
}

}  // namespace
}  // namespace korimo
