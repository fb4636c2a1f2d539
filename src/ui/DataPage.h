#pragma once

#include <QFrame>
#include <array>

class QPushButton;

namespace korimo {

class CaptionLabel;
class FlexGrid;
class PictureBox;

// The "データ" page: the results grid with its swatch strip, the column group
// headings and the results export button.
class DataPage : public QFrame {
  Q_OBJECT

 public:
  explicit DataPage(QWidget* parent);

  // Column widths, the swatch strip and the group headings follow the grid's
  // font and row heights, so they are placed once the page has its size.
  void LayOut(int chartPageWidthTwips);
  // Rows that fit in the grid below its heading row.
  int VisibleRows() const;

  FlexGrid* FlexG = nullptr;
  PictureBox* PictD = nullptr;
  QPushButton* But_DataR = nullptr;
  std::array<CaptionLabel*, 3> Lb_Head{};

 private:
  int NeededWidth(int col) const;
};

}  // namespace korimo
