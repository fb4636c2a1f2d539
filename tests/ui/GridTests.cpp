#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/FlexGrid.h"
#include "ui/GridModel.h"
#include "ui/Twips.h"

namespace korimo {
namespace {

std::vector<GridRow> NumberedRows(int count) {
  std::vector<GridRow> rows(static_cast<std::size_t>(count));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < kGridCols; ++c)
      rows[r][c] = "  " + std::to_string(r) + "." + std::to_string(c);
  }
  return rows;
}

Qt::Alignment AlignmentOf(const QVariant& value) {
  return value.value<Qt::Alignment>();
}

TEST(GridModelTest, RowsCountTheHeadingRowAndTextsReadBackExactly) {
  GridModel model;
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  model.SetText(0, 2, "L0▲");
  model.SetDataRows(NumberedRows(3000));
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model.Rows(), 3001);
  EXPECT_EQ(model.Text(3000, 14), "  2999.14");
  model.SetText(1500, 8, "   ⊿");
  EXPECT_EQ(model.data(model.index(1499, 8)).toString(), QStringLiteral("   ⊿"));

  model.SetRowCount(1);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.Text(0, 2), "L0▲");
  model.SetRowCount(4);
  EXPECT_EQ(model.Rows(), 4);
  EXPECT_EQ(model.Text(3, 14), "");
  model.SetRowCount(0);
  EXPECT_EQ(model.Rows(), 1);
  model.SetText(0, 15, "x");  // outside the grid: absorbed
  EXPECT_EQ(model.Text(0, 15), "");
}

TEST(GridModelTest, DataRightAlignedHeadingsCentredExceptNumber) {
  GridModel model;
  model.SetRowCount(2);
  EXPECT_EQ(AlignmentOf(model.data(model.index(0, 5), Qt::TextAlignmentRole)),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(AlignmentOf(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole)),
            Qt::AlignRight | Qt::AlignVCenter);
  EXPECT_EQ(AlignmentOf(model.headerData(2, Qt::Horizontal, Qt::TextAlignmentRole)),
            Qt::AlignCenter);
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

class FlexGridTest : public ::testing::Test {
 protected:
  FlexGridTest() {
    grid.resize(600, 300);
    for (int c = 0; c < kGridCols; ++c)
      grid.SetColWidthTwips(c, 600);
    grid.SetDataRows(NumberedRows(3000));
    grid.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
  }

  void ClickHeading(int col, Qt::MouseButton button) {
    const QHeaderView* header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), button, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(col) + 5, header->height() / 2));
  }

  FlexGrid grid;
};

TEST_F(FlexGridTest, HeadingPressComesBeforeClickAndSetsTheColumn) {
  std::vector<std::string> events;
  float y = -1;
  QObject::connect(&grid, &FlexGrid::mouseDown, [&](int button, int, float, float pressY) {
    events.push_back("down" + std::to_string(button));
    y = pressY;
  });
  QObject::connect(&grid, &FlexGrid::clicked,
                   [&] { events.push_back("click" + std::to_string(grid.Col())); });
  QObject::connect(&grid, &FlexGrid::mouseUp, [&] { events.push_back("up"); });

  ClickHeading(9, Qt::LeftButton);
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "click9", "up"}));
  EXPECT_EQ(grid.RowHeightTwips(0), grid.horizontalHeader()->height() * kTwipsPerPixel);
  EXPECT_GT(y, 0.0f);
  EXPECT_LE(y, grid.RowHeightTwips(0));
  // The top pixel row of the first data row is not the heading row.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 0));
  EXPECT_GT(y, grid.RowHeightTwips(0));
  events.clear();
  ClickHeading(3, Qt::RightButton);
  EXPECT_EQ(events, (std::vector<std::string>{"down2", "up"}));
}

TEST_F(FlexGridTest, CellClickMakesTheCellCurrentAndTheRowSelectable) {
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(grid.columnViewportPosition(4) + 3, 2 * grid.rowHeight(0) + 2));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 4);
  EXPECT_EQ(grid.ColWidthTwips(4), 600);
  EXPECT_EQ(grid.RowHeightTwips(1), grid.rowHeight(0) * kTwipsPerPixel);
  grid.SetCol(0);
  grid.SetColSel(kGridCols - 1);
  const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
  EXPECT_EQ(selected.size(), kGridCols);
  for (const QModelIndex& index : selected)
    EXPECT_EQ(index.row(), 2);
}

TEST_F(FlexGridTest, ScrollingReportsEachNewTopRow) {
  QSignalSpy scrolled(&grid, &FlexGrid::scrolled);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.ScrollToRow(101);
  EXPECT_EQ(grid.TopRow(), 101);
  grid.verticalScrollBar()->setValue(2500);
  grid.verticalScrollBar()->setValue(2500);
  EXPECT_EQ(grid.Text(grid.TopRow(), 0), "  2500.0");
  EXPECT_EQ(scrolled.count(), 2);
}

TEST_F(FlexGridTest, FilesDroppedOnCellsOrHeadings) {
  QSignalSpy dropped(&grid, &FlexGrid::filesDropped);
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/f.txt"))});
  // Qt delivers a drop only to the widget that accepted the drag's entry.
  for (QWidget* target : {grid.viewport(), grid.horizontalHeader()->viewport()}) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }
  ASSERT_EQ(dropped.count(), 2);
  EXPECT_EQ(dropped[1][0].toStringList(), QStringList{QStringLiteral("/data/f.txt")});
}

}  // namespace
}  // namespace korimo
