#include "app/FormState.h"

namespace korimo {

namespace {
constexpr int kClearedChartDim = 200;
}

void ChartGeometry::Redim(int cols, int rows) {
  dimCols_ = cols < 0 ? 0 : cols;
  dimRows_ = rows < 0 ? 0 : rows;
  const auto size = static_cast<std::size_t>(dimCols_ + 1) * static_cast<std::size_t>(dimRows_ + 1);
  x_.assign(size, 0);
  y_.assign(size, 0);
}

int ChartGeometry::CellX(int g, int k) const {
  if (g < 0 || k < 0 || g > dimCols_ || k > dimRows_)
    return 0;
  return x_[static_cast<std::size_t>(g) * (dimRows_ + 1) + k];
}

int ChartGeometry::CellY(int g, int k) const {
  if (g < 0 || k < 0 || g > dimCols_ || k > dimRows_)
    return 0;
  return y_[static_cast<std::size_t>(g) * (dimRows_ + 1) + k];
}

void ChartGeometry::SetCell(int g, int k, int x, int y) {
  if (g < 0 || k < 0 || g > dimCols_ || k > dimRows_)
    return;
  x_[static_cast<std::size_t>(g) * (dimRows_ + 1) + k] = static_cast<std::int16_t>(x);
  y_[static_cast<std::size_t>(g) * (dimRows_ + 1) + k] = static_cast<std::int16_t>(y);
}

FormState::FormState() : data(std::make_unique<ComparisonData>()) {
  chart.Redim(kClearedChartDim, kClearedChartDim);
}

}  // namespace korimo
