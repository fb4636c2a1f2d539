#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/BitmapConvert.h"
#include "ui/FlexGrid.h"
#include "ui/PictureBox.h"
#include "ui/QtPlatform.h"
#include "ui/Twips.h"

namespace korimo {
namespace {

constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;
using Points = std::set<std::pair<int, int>>;

Points PixelsOf(const PictureBox& box, std::uint32_t color) {
  Points found;
  for (int y = 0; y < box.ScaleHeight(); ++y) {
    for (int x = 0; x < box.ScaleWidth(); ++x) {
      if (box.Pixel(x, y) == color)
        found.insert({x, y});
    }
  }
  return found;
}

TEST(PictureBoxTest, ShapesCoverExactlyTheirPixels) {
  PictureBox box;
  box.SetOuterSizePixels(36, 30);
  box.SetPixel(3, 4, 0x336699);
  EXPECT_EQ(box.Image().pixel(3, 4), qRgb(0x99, 0x66, 0x33));
  EXPECT_EQ(box.ToBitmap().pixels.at(4 * box.ScaleWidth() + 3), 0x336699u);
  box.FillRect(6, 5, 2, 3, kRed);  // both corners belong to it
  EXPECT_EQ(PixelsOf(box, kRed).size(), 5u * 3u);
  box.Clear();
  for (int x = 0; x < 20; x += 5)  // cells (x, y)-(x + 4, y + 4) abut
    box.FillRect(x, 0, x + 4, 4, x % 10 ? kRed : kBlue);
  EXPECT_EQ(PixelsOf(box, kRed).size() + PixelsOf(box, kBlue).size(), 4u * 25u);

  box.Clear();
  box.RectOutline(2, 2, 6, 5, kRed);
  Points outline;
  for (int x = 2; x <= 6; ++x)
    outline.insert({{x, 2}, {x, 5}});
  for (int y = 2; y <= 5; ++y)
    outline.insert({{2, y}, {6, y}});
  EXPECT_EQ(PixelsOf(box, kRed), outline);
  box.Circle(10, 20, 2.0, kBlack);
  Points ring;  // radius 2 round (10, 20)
  for (int d = -1; d <= 1; ++d)
    ring.insert({{8, 20 + d}, {12, 20 + d}, {10 + d, 18}, {10 + d, 22}});
  EXPECT_EQ(PixelsOf(box, kBlack), ring);
  box.SetLineWidth(5);
  box.Line(20, 10, 30, 10, kBlue);
  box.Circle(25, 20, 2.0, kBlue);
  EXPECT_EQ(box.Pixel(25, 8), kBlue);
  EXPECT_EQ(box.Pixel(25, 12), kBlue);
  EXPECT_EQ(box.Pixel(25, 13), kWhite);
  EXPECT_EQ(box.Pixel(25, 24), kBlue);
  EXPECT_EQ(box.Pixel(25, 25), kWhite);
}

TEST(PictureBoxTest, MouseReportsDrawingAreaPositionsAndCodesAndDropsOnlyFiles) {
  PictureBox box;
  box.SetBorder(PictureBox::Border::Sunken);
  box.SetOuterSizePixels(40, 30);
  QSignalSpy down(&box, &PictureBox::mouseDown), move(&box, &PictureBox::mouseMove);
  QSignalSpy up(&box, &PictureBox::mouseUp), dropped(&box, &PictureBox::filesDropped);
  QTest::mouseClick(&box, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(12, 7));
  QTest::mouseClick(&box, Qt::RightButton, Qt::ControlModifier, QPoint(2, 2));
  QTest::mouseClick(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
  QMouseEvent hover(QEvent::MouseMove, QPointF(9, 4), box.mapToGlobal(QPointF(9, 4)), Qt::NoButton,
                    Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
  QApplication::sendEvent(&box, &hover);
  ASSERT_EQ(down.count(), 3);
  EXPECT_EQ(down[0], (QList<QVariant>{1, 5, 10.0f, 5.0f}));
  EXPECT_EQ(up[1], (QList<QVariant>{2, 2, 0.0f, 0.0f}));
  EXPECT_EQ(down[2][0].toInt(), 4);
  EXPECT_EQ(move[0], (QList<QVariant>{3, 2, 7.0f, 2.0f}));

  QMimeData files, text;
  files.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/基準 1.txt")),
                 QUrl(QStringLiteral("https://example.com/x.txt")),
                 QUrl::fromLocalFile(QStringLiteral("/data/b.txt"))});
  text.setText(QStringLiteral("/data/a.txt"));
  for (const QMimeData* data : {&files, &text}) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(enter.isAccepted(), data == &files);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &drop);
  }
  ASSERT_EQ(dropped.count(), 1);
  EXPECT_EQ(dropped[0][0].toStringList(),
            (QStringList{QStringLiteral("/data/基準 1.txt"), QStringLiteral("/data/b.txt")}));
}

TEST(FlexGridTest, TextsHeadingPressesAndScrolling) {
  FlexGrid grid;
  std::vector<GridRow> rows(3000);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < kGridCols; ++c)
      rows[r][c] = "  " + std::to_string(r) + "." + std::to_string(c);
  }
  grid.resize(600, 300);
  grid.SetDataRows(rows);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  EXPECT_EQ(grid.Text(3000, 14), "  2999.14");
  grid.SetText(1500, 8, "   ⊿");
  EXPECT_EQ(grid.Text(1500, 8), "   ⊿");

  QSignalSpy scrolled(&grid, &FlexGrid::scrolled);
  grid.ScrollToRow(101);
  EXPECT_EQ(grid.TopRow(), 101);
  grid.verticalScrollBar()->setValue(2500);
  grid.verticalScrollBar()->setValue(2500);
  EXPECT_EQ(grid.Text(grid.TopRow(), 0), "  2500.0");
  EXPECT_EQ(scrolled.count(), 2);

  std::vector<std::string> events;
  float y = -1;
  QObject::connect(&grid, &FlexGrid::mouseDown, [&](int button, int, float, float pressY) {
    events.push_back("down" + std::to_string(button));
    y = pressY;
  });
  QObject::connect(&grid, &FlexGrid::clicked,
                   [&] { events.push_back("click" + std::to_string(grid.Col())); });
  QHeaderView* header = grid.horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "click3"}));
  EXPECT_EQ(grid.RowHeightTwips(0), header->height() * kTwipsPerPixel);
  EXPECT_GT(y, 0.0f);
  EXPECT_LT(y, grid.RowHeightTwips(0));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, 0));  // the top data row
  EXPECT_GT(y, grid.RowHeightTwips(0));

  grid.SetText(0, 2, "L0▲");
  grid.SetRows(1);
  EXPECT_EQ(grid.Rows(), 1);
  EXPECT_EQ(grid.Text(0, 2), "L0▲");
}

TEST(QtPlatformTest, ClipboardBitmapsAndFilters) {
  const Bitmap twoPixels{2, 1, {0x0000FF, 0x804020}};
  EXPECT_EQ(FromQImage(ToQImage(twoPixels)).pixels, twoPixels.pixels);
  EXPECT_TRUE(ToQImage(Bitmap{2, 2, {1, 2, 3}}).isNull());
  QtPlatform platform(nullptr);
  const QClipboard* clipboard = QGuiApplication::clipboard();
  platform.ClipboardSetBitmapAndText(twoPixels, "ΔE\tパッチ数\r\n");
  EXPECT_EQ(clipboard->image().pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(clipboard->image().pixel(1, 0), qRgb(0x20, 0x40, 0x80));
  EXPECT_EQ(clipboard->text(), QStringLiteral("ΔE\tパッチ数\r\n"));
  platform.ClipboardClear();
  EXPECT_TRUE(clipboard->text().isEmpty());

  EXPECT_EQ(QtPlatform::QtFileFilter("テキスト(*.txt)|*.txt"), QStringLiteral("テキスト(*.txt)"));
  EXPECT_EQ(QtPlatform::QtFileFilter("All|*.*|Text|*.txt"),
            QStringLiteral("All (*.*);;Text (*.txt)"));
}

}  // namespace
}  // namespace korimo
