#pragma once

#include <QWidget>

#include <optional>

#include "app/Canvas.h"
#include "app/RunView.h"

namespace korimo {

// A trend plot of the run page: the chart's title above, its keys beside,
// and the chart as the run view lays it out on the room left, painted. It
// tells which sheet the mouse is over.
class TrendPlot : public QWidget {
  Q_OBJECT

 public:
  explicit TrendPlot(QWidget* parent = nullptr);

  void SetChart(TrendChart chart);
  const TrendChart& Chart() const { return chart_; }
  // Where the chart lies in the widget, and its layout there, made once
  // for every chart and size.
  QRect PlotRect() const;
  const TrendLayout& Layout() const;
  // The sheet of the slot under a point of the widget.
  std::optional<int> SheetAt(const QPoint& at) const;

 signals:
  void sheetHovered(int sheet, const QPoint& globalAt);  // -1: none
  void sheetClicked(int sheet);
  void sheetMenuRequested(int sheet, const QPoint& globalAt);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int KeysWidth() const;
  void PaintKeys(QPainter& painter, int left) const;
  void PaintAxes(QPainter& painter, const TrendLayout& layout, const QRect& plot) const;
  void PaintLines(QPainter& painter, const TrendLayout& layout, const QRect& plot) const;

  TrendChart chart_;
  mutable std::optional<TrendLayout> layout_;
  int hovered_ = -1;
};

}  // namespace korimo
