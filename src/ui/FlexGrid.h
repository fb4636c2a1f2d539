#pragma once

#include <QStringList>
#include <QTableView>

#include "app/Indices.h"

namespace korimo {

class GridModel;

// The results grid: a fixed heading row over read-only data rows, whose
// cells come from a GridModel. The grid never sorts by itself; presses,
// clicks, releases and scrolling are reported and the program decides.
// Mouse positions are in twips from the top-left corner of the heading row,
// taken at the centre of the pixel pressed, so a press on the heading row
// has y < RowHeightTwips(0) and one on a data row y > it. Rows are counted
// as the window counts them: row 0 is the heading row, data rows from 1.
class FlexGrid : public QTableView {
  Q_OBJECT

 public:
  explicit FlexGrid(QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }

  // Including the heading row.
  int Rows() const;

  void SetColWidthTwips(int col, int twips);
  // The column width, in pixels, at which a cell shows `text` whole, and a
  // heading `heading`.
  int CellWidthFor(const QString& text) const;
  int HeadingWidthFor(const QString& heading) const;
  int ColWidthTwips(int col) const;
  int RowHeightTwips(int row) const;

  void SetGeometryTwips(int left, int top, int width, int height);
  void SetWidthTwips(int width);
  int LeftTwips() const;
  int TopTwips() const;
  int HeightTwips() const;

  // The column of the last cell or heading pressed.
  int Col() const;
  // Selects the current row from column 0 to the last.
  void SelectRowWhole();

  // First data row in view (1 = the first).
  int TopRow() const;
  void ScrollToRow(int row);

 signals:
  void mouseDown(korimo::MouseButton button, korimo::Modifiers modifiers, float x, float y);
  // Follows the mouseDown of a left-button press on a cell or a heading.
  void clicked(int column);
  void mouseUp(korimo::MouseButton button, korimo::Modifiers modifiers, float x, float y);
  // After every change of TopRow(), also when new rows moved it.
  void scrolled(int topRow);
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
  void CheckTopRow();

  GridModel* model_;
  int col_ = 0;
  int lastTopRow_ = 1;
};

}  // namespace korimo
