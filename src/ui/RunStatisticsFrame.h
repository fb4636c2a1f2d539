#pragma once

#include <QGroupBox>

#include <array>

#include "app/RunView.h"

namespace korimo {

class CaptionLabel;

// The run statistics frame of the run page: the sheet counts, the criteria
// set's verdict and pass share, and per run statistic its mean, standard
// deviation, minimum and maximum, the sheets of those two in their tips.
class RunStatisticsFrame : public QGroupBox {
  Q_OBJECT

 public:
  explicit RunStatisticsFrame(QWidget* parent = nullptr);

  void Render(const RunStatisticsTexts& texts);

  CaptionLabel* counts = nullptr;
  CaptionLabel* setName = nullptr;
  CaptionLabel* verdict = nullptr;
  CaptionLabel* share = nullptr;
  std::array<CaptionLabel*, kRunStatistics> names{};
  std::array<std::array<CaptionLabel*, 4>, kRunStatistics> figures{};
  std::array<CaptionLabel*, 4> headings{};
};

}  // namespace korimo
