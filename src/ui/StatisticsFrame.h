#pragma once

#include <QGroupBox>
#include <array>

class QPushButton;

namespace korimo {

class CaptionLabel;
class PictureBox;

// One statistics frame: the figures of one pair, its histogram and the two
// row copy buttons.
class StatisticsFrame : public QGroupBox {
  Q_OBJECT

 public:
  StatisticsFrame(const QString& title, QWidget* parent);

  std::array<CaptionLabel*, 2> De{};    // average, maximum dE*ab
  std::array<CaptionLabel*, 2> De2K{};  // average, maximum dE00
  CaptionLabel* BestDe = nullptr;
  CaptionLabel* WorsDe = nullptr;
  CaptionLabel* Best2K = nullptr;
  CaptionLabel* Wors2K = nullptr;
  CaptionLabel* GX = nullptr;
  CaptionLabel* GY = nullptr;
  CaptionLabel* G0 = nullptr;
  PictureBox* PictG = nullptr;
  QPushButton* CopyDe = nullptr;    // the dE*ab row
  QPushButton* CopyDe2K = nullptr;  // the dE00 row

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CaptionLabel* Label(int left, int top, int width, int height, const char* caption,
                      Qt::Alignment alignment);
  CaptionLabel* Figure(int left, int top);
};

}  // namespace korimo
