#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/PictureBox.h"

namespace korimo {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
using Points = std::set<std::pair<int, int>>;

class PictureBoxTest : public ::testing::Test {
 protected:
  PictureBoxTest() {
    box.SetBorder(PictureBox::Border::Sunken);
    box.SetBackground(kWhite);
    box.SetOuterSizePixels(40, 30);
    box.Clear();
  }

  Points PixelsOf(std::uint32_t color) const {
    Points found;
    for (int y = 0; y < box.ScaleHeight(); ++y) {
      for (int x = 0; x < box.ScaleWidth(); ++x) {
        if (box.Pixel(x, y) == color)
          found.insert({x, y});
      }
    }
    return found;
  }

  PictureBox box;
};

TEST_F(PictureBoxTest, RetainedPixelsSurviveResizing) {
  EXPECT_EQ(box.ScaleWidth(), 36);
  box.SetPixel(3, 4, 0x336699);
  EXPECT_EQ(box.Image().pixel(3, 4), qRgb(0x99, 0x66, 0x33));
  box.SetBackground(kBlue);
  box.SetGeometryTwips(0, 1500, 7035, 7035);
  EXPECT_EQ(box.width(), 469);
  EXPECT_EQ(box.ScaleWidth(), 465);
  EXPECT_EQ(box.TopTwips(), 1500);
  EXPECT_EQ(box.Pixel(3, 4), 0x336699u);
  EXPECT_EQ(box.Pixel(5, 5), kWhite);
  EXPECT_EQ(box.Pixel(100, 100), kBlue);
  EXPECT_EQ(box.ToBitmap().pixels.at(4 * 465 + 3), 0x336699u);
  box.SetPixel(-1, 0, kRed);
  EXPECT_EQ(box.Pixel(-1, 0), kBlue);
  box.Clear();
  EXPECT_EQ(PixelsOf(kBlue).size(), 465u * 465u);
}

TEST_F(PictureBoxTest, RectanglesIncludeBothCornersAndCellsAbut) {
  box.FillRect(6, 5, 2, 3, kRed);
  EXPECT_EQ(PixelsOf(kRed).size(), 5u * 3u);
  EXPECT_EQ(box.Pixel(2, 3), kRed);
  EXPECT_EQ(box.Pixel(6, 5), kRed);
  box.Clear();
  for (int x = 0; x < 20; x += 5) {
    box.FillRect(x, 0, x + 4, 2, x % 10 ? kRed : kBlue);
    box.FillRect(x, 2, x + 4, 4, kBlack);
  }
  EXPECT_EQ(PixelsOf(kRed).size() + PixelsOf(kBlue).size(), 4u * 5u * 2u);
  EXPECT_EQ(PixelsOf(kBlack).size(), 4u * 5u * 3u);

  box.Clear();
  box.RectOutline(2, 2, 6, 5, kRed);
  Points outline;
  for (int x = 2; x <= 6; ++x)
    outline.insert({{x, 2}, {x, 5}});
  for (int y = 2; y <= 5; ++y)
    outline.insert({{2, y}, {6, y}});
  EXPECT_EQ(PixelsOf(kRed), outline);
}

TEST_F(PictureBoxTest, LinesIncludeTheirEndsAndGrowWithTheLineWidth) {
  box.Line(3, 10, 12, 10, kRed);
  box.Line(20, 0, 24, 4, kBlue);
  box.Line(30, 40, 30, -1, kBlack);
  EXPECT_EQ(PixelsOf(kRed).size(), 10u);
  EXPECT_EQ(PixelsOf(kBlue).size(), 5u);
  EXPECT_EQ(PixelsOf(kBlack).size(), 26u);
  box.SetLineWidth(5);
  box.Line(3, 20, 12, 20, kBlue);
  EXPECT_EQ(box.Pixel(7, 18), kBlue);
  EXPECT_EQ(box.Pixel(7, 22), kBlue);
  EXPECT_EQ(box.Pixel(7, 23), kWhite);
}

TEST_F(PictureBoxTest, CirclesAreSymmetricRings) {
  box.Circle(10, 10, 2.0, kBlack);
  const Points ring = {{8, 9}, {8, 10}, {8, 11}, {12, 9}, {12, 10}, {12, 11},
                       {9, 8}, {10, 8}, {11, 8}, {9, 12}, {10, 12}, {11, 12}};
  EXPECT_EQ(PixelsOf(kBlack), ring);
  box.SetLineWidth(5);
  box.Circle(25, 10, 2.0, kRed);
  EXPECT_GT(PixelsOf(kRed).size(), ring.size());
  EXPECT_EQ(box.Pixel(25, 14), kRed);
  EXPECT_EQ(box.Pixel(25, 15), kWhite);
}

TEST_F(PictureBoxTest, MouseReportsDrawingAreaPositionsAndCodes) {
  QSignalSpy down(&box, &PictureBox::mouseDown);
  QSignalSpy move(&box, &PictureBox::mouseMove);
  QSignalSpy up(&box, &PictureBox::mouseUp);
  QTest::mouseClick(&box, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(12, 7));
  QTest::mouseClick(&box, Qt::RightButton, Qt::ControlModifier, QPoint(2, 2));
  QTest::mouseClick(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_EQ(down.count(), 3);
  ASSERT_EQ(up.count(), 3);
  EXPECT_EQ(down[0], (QList<QVariant>{1, 5, 10.0f, 5.0f}));
  EXPECT_EQ(up[1], (QList<QVariant>{2, 2, 0.0f, 0.0f}));
  EXPECT_EQ(down[2][0].toInt(), 4);

  EXPECT_TRUE(box.hasMouseTracking());
  QMouseEvent hover(QEvent::MouseMove, QPointF(9, 4), box.mapToGlobal(QPointF(9, 4)), Qt::NoButton,
                    Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
  QApplication::sendEvent(&box, &hover);
  ASSERT_EQ(move.count(), 1);
  EXPECT_EQ(move[0], (QList<QVariant>{3, 2, 7.0f, 2.0f}));
}

TEST_F(PictureBoxTest, DropsDeliverLocalFilesAndRefuseText) {
  QSignalSpy dropped(&box, &PictureBox::filesDropped);
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/基準 1.txt")),
                 QUrl(QStringLiteral("https://example.com/x.txt")),
                 QUrl::fromLocalFile(QStringLiteral("/data/b.txt"))});
  QMimeData text;
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

}  // namespace
}  // namespace korimo
