#pragma once

#include <QStringList>
#include <QTableView>

#include <string>
#include <string_view>
#include <vector>

#include "app/GridRows.h"

namespace korimo {

class GridModel;

// The results grid: a fixed heading row over read-only data rows, addressed
// as the window does (row 0 is the heading row, data rows from 1). The grid
// never sorts by itself; a heading click is reported and the program refills
// the rows. Mouse positions are in twips from the top-left corner of the
// heading row, taken at the centre of the pixel pressed, so a press on the
// heading row has y < RowHeightTwips(0) and one on a data row y > it.
class FlexGrid : public QTableView {
  Q_OBJECT

 public:
  explicit FlexGrid(QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }

  int Rows() const;
  void SetRows(int rows);
  int Cols() const { return kGridCols; }
  std::string Text(int row, int col) const;
  void SetText(int row, int col, std::string_view text);
  void SetDataRows(std::vector<GridRow> rows);

  void SetColWidthTwips(int col, int twips);
  int ColWidthTwips(int col) const;
  int RowHeightTwips(int row) const;

  void SetGeometryTwips(int left, int top, int width, int height);
  void SetWidthTwips(int width);
  int LeftTwips() const;
  int TopTwips() const;
  int HeightTwips() const;

  int Col() const;
  void SetCol(int col);
  // 0 while the grid has no data row.
  int Row() const;
  // Selects the current row from the current column to `col`.
  void SetColSel(int col);

  // First data row in view, counted like the data rows (1 = the first).
  int TopRow() const;
  void ScrollToRow(int row);

 signals:
  void mouseDown(int button, int shift, float x, float y);
  // Follows the mouseDown of a left-button press on a cell or a heading; a
  // heading press has already made its column the current column.
  void clicked();
  void mouseUp(int button, int shift, float x, float y);
  // After every change of TopRow().
  void scrolled();
  void filesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ConfigureView();
  void ConnectDrops();
  void ApplyRowHeight();
  int HeaderHeightPixels() const;
  void OnHeaderPress(const QMouseEvent* event);
  void EmitPress(const QMouseEvent* event, int yOffset);
  void EmitRelease(const QMouseEvent* event, int yOffset);
  void OnVerticalScroll();

  GridModel* model_;
  int col_ = 0;
  int lastTopRow_ = 1;
};

}  // namespace korimo
