#include "ui/TrendPlot.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "ui/Fonts.h"

namespace korimo {

namespace {

// Room for the value ticks left of the plot and the sheet numbers under it,
// and between the plot and its keys.
constexpr int kTickRoom = 36;
constexpr int kSheetRoom = 16;
constexpr int kGap = 8;
constexpr int kSwatch = 8;
constexpr double kTickPointSize = 7.5;

QColor Colour(std::uint32_t packed) {
  return QColor(static_cast<int>(packed & 0xFFu), static_cast<int>((packed >> 8) & 0xFFu),
                static_cast<int>((packed >> 16) & 0xFFu));
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont TickFont() {
  QFont font = UiFont();
  font.setPointSizeF(kTickPointSize);
  return font;
}

void Mark(QPainter& painter, const QRect& plot, const TrendPoint& p, const QColor& colour,
          int half) {
  const int x = plot.left() + static_cast<int>(std::floor(p.x));
  const int y = plot.top() + static_cast<int>(std::floor(p.y));
  painter.fillRect(x - half, y - half, 2 * half + 1, 2 * half + 1, colour);
}

}  // namespace

TrendPlot::TrendPlot(QWidget* parent) : QWidget(parent) {
  setFont(UiFont());
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendPlot::SetChart(TrendChart chart) {
  layout_.reset();
  chart_ = std::move(chart);
  update();
}

// The widest key, or the note, with its swatch.
int TrendPlot::KeysWidth() const {
  const QFontMetrics metrics = fontMetrics();
  int widest = metrics.horizontalAdvance(FromUtf8(chart_.note));
  for (const TrendKey& key : chart_.keys)
    widest = std::max(widest, kSwatch + 4 + metrics.horizontalAdvance(FromUtf8(key.caption)));
  return widest;
}

QRect TrendPlot::PlotRect() const {
  const int top = fontMetrics().height() + 4;
  const int right = width() - KeysWidth() - 2 * kGap;
  return QRect(QPoint(kTickRoom, top), QPoint(right - 1, height() - kSheetRoom - 1));
}

const TrendLayout& TrendPlot::Layout() const {
  const QRect plot = PlotRect();
  if (!layout_ || layout_->width != std::max(1, plot.width()) ||
      layout_->height != std::max(1, plot.height())) {
    layout_.reset();
    layout_ = LayOutTrend(chart_, plot.width(), plot.height(), TrendDetail::Pixels);
  }
  return *layout_;
}

std::optional<int> TrendPlot::SheetAt(const QPoint& at) const {
  const QRect plot = PlotRect();
  if (chart_.gaps.empty() || at.y() < plot.top() || at.y() > plot.bottom())
    return std::nullopt;
  return Layout().SheetAt(at.x() - plot.left());
}

void TrendPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.setPen(palette().windowText().color());
  const QRect plot = PlotRect();
  painter.drawText(QRect(0, 0, width(), plot.top()), Qt::AlignLeft | Qt::AlignVCenter,
                   FromUtf8(chart_.title));
  PaintKeys(painter, plot.right() + kGap + 1);
  if (plot.width() < 2 || plot.height() < 2)
    return;
  PaintAxes(painter, Layout(), plot);
  PaintLines(painter, Layout(), plot);
}

void TrendPlot::PaintKeys(QPainter& painter, int left) const {
  const QFontMetrics metrics = fontMetrics();
  int top = PlotRect().top();
  for (const TrendKey& key : chart_.keys) {
    const int swatchTop = top + (metrics.height() - kSwatch) / 2;
    painter.fillRect(left, swatchTop, kSwatch, kSwatch, Colour(TrendKeyColor(key)));
    // The grey of the gaps would vanish on the window's grey without a rim.
    if (key.kind == TrendKey::Kind::Gap) {
      painter.setPen(Colour(kTrendFrame));
      painter.drawRect(left, swatchTop, kSwatch - 1, kSwatch - 1);
      painter.setPen(palette().windowText().color());
    }
    painter.drawText(QPoint(left + kSwatch + 4, top + metrics.ascent()), FromUtf8(key.caption));
    top += metrics.height();
  }
  painter.drawText(QPoint(left, top + metrics.ascent()), FromUtf8(chart_.note));
}

// The slots of the sheets that count nowhere, the grid with its values, the
// sheet numbers, the frame and the limit line.
void TrendPlot::PaintAxes(QPainter& painter, const TrendLayout& layout, const QRect& plot) const {
  painter.fillRect(plot, Qt::white);
  for (const auto& [x1, x2] : layout.gaps)
    painter.fillRect(plot.left() + x1, plot.top(), x2 - x1 + 1, plot.height(), Colour(kTrendGap));
  painter.setFont(TickFont());
  const QFontMetrics metrics = painter.fontMetrics();
  const QColor text = palette().windowText().color();
  for (std::size_t k = 0; k < layout.valueTicks.size(); ++k) {
    const TrendTick& tick = layout.valueTicks[k];
    const int y = plot.top() + tick.at;
    if (k > 0) {
      painter.setPen(Colour(kTrendGrid));
      painter.drawLine(plot.left(), y, plot.right(), y);
    }
    painter.setPen(text);
    const QString label = FromUtf8(tick.text);
    painter.drawText(
        QPoint(plot.left() - 3 - metrics.horizontalAdvance(label), y + metrics.ascent() / 2),
        label);
  }
  for (const TrendTick& tick : layout.sheetTicks) {
    const int x = plot.left() + tick.at;
    painter.setPen(Colour(kTrendFrame));
    painter.drawLine(x, plot.bottom() - 2, x, plot.bottom());
    painter.setPen(text);
    const QString label = FromUtf8(tick.text);
    painter.drawText(
        QPoint(x - metrics.horizontalAdvance(label) / 2, plot.bottom() + 2 + metrics.ascent()),
        label);
  }
  painter.setFont(font());
  painter.setPen(Colour(kTrendFrame));
  painter.drawRect(plot.adjusted(0, 0, -1, -1));
  if (layout.levelRow) {
    painter.setPen(QPen(Qt::black, 2));
    const int y = plot.top() + *layout.levelRow;
    painter.drawLine(plot.left(), y, plot.right(), y);
  }
}

void TrendPlot::PaintLines(QPainter& painter, const TrendLayout& layout, const QRect& plot) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QPointF origin(plot.left(), plot.top());
  QPolygonF points;
  for (const TrendLine& line : layout.lines) {
    const QColor colour = Colour(line.color);
    painter.setPen(QPen(colour, 1));
    for (const TrendSegment& segment : line.segments) {
      points.clear();
      for (const TrendPoint& p : segment.points)
        points.append(origin + QPointF(p.x, p.y));
      if (points.size() >= 2)
        painter.drawPolyline(points);
      if (segment.marked) {
        for (const TrendPoint& p : segment.points)
          Mark(painter, plot, p, colour, kTrendMark);
      }
    }
    for (const TrendPoint& p : line.failing)
      Mark(painter, plot, p, Colour(kRed), kTrendFailingMark);
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
}

void TrendPlot::mouseMoveEvent(QMouseEvent* event) {
  const int sheet = SheetAt(event->position().toPoint()).value_or(-1);
  if (sheet == hovered_)
    return;
  hovered_ = sheet;
  emit sheetHovered(sheet, event->globalPosition().toPoint());
}

void TrendPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  if (const std::optional<int> sheet = SheetAt(event->position().toPoint()))
    emit sheetClicked(*sheet);
}

void TrendPlot::contextMenuEvent(QContextMenuEvent* event) {
  if (const std::optional<int> sheet = SheetAt(event->pos()))
    emit sheetMenuRequested(*sheet, event->globalPos());
}

void TrendPlot::leaveEvent(QEvent*) {
  if (hovered_ < 0)
    return;
  hovered_ = -1;
  emit sheetHovered(-1, QPoint());
}

}  // namespace korimo
