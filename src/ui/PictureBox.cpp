#include "ui/PictureBox.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/BitmapConvert.h"
#include "ui/FileDropFilter.h"
#include "ui/MouseCodes.h"
#include "ui/Twips.h"

namespace korimo {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), background_(QRgbToPacked(palette().color(QPalette::Base).rgb())) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  auto* drops = new FileDropFilter(this);
  connect(drops, &FileDropFilter::filesDropped, this, &PictureBox::filesDropped);
  SyncImage();
}

void PictureBox::SetBorder(Border border) {
  border_ = border;
  SyncImage();
  update();
}

int PictureBox::BorderWidth() const {
  switch (border_) {
    case Border::Flat:
      return 1;
    case Border::Sunken:
      return 2;
    case Border::None:
      break;
  }
  return 0;
}

void PictureBox::SetBackground(std::uint32_t color) {
  background_ = color & 0xFFFFFF;
}

void PictureBox::SetOuterSizePixels(int width, int height) {
  resize(std::max(0, width), std::max(0, height));
  SyncImage();
}

void PictureBox::SetGeometryTwips(int left, int top, int width, int height) {
  setGeometry(TwipsRect(left, top, width, height));
  SyncImage();
}

void PictureBox::SetSizeTwips(int width, int height) {
  SetOuterSizePixels(TwipsToPixels(width), TwipsToPixels(height));
}

void PictureBox::Clear() {
  image_.fill(PackedToQRgb(background_));
  update();
}

void PictureBox::Line(int x1, int y1, int x2, int y2, std::uint32_t color) {
  if (image_.isNull())
    return;
  QPainter painter(&image_);
  // A square cap on a one-pixel pen puts the last pixel in; a round cap keeps
  // wide lines from growing corners.
  const Qt::PenCapStyle cap = lineWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap;
  painter.setPen(QPen(PackedToQColor(color), lineWidth_, Qt::SolidLine, cap, Qt::RoundJoin));
  painter.drawLine(x1, y1, x2, y2);
  update();
}

void PictureBox::RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int left = std::min(x1, x2);
  const int right = std::max(x1, x2);
  const int top = std::min(y1, y2);
  const int bottom = std::max(y1, y2);
  const int inset = lineWidth_ - 1;
  FillRect(left, top, right, top + inset, color);
  FillRect(left, bottom - inset, right, bottom, color);
  FillRect(left, top, left + inset, bottom, color);
  FillRect(right - inset, top, right, bottom, color);
}

void PictureBox::FillRect(int x1, int y1, int x2, int y2, std::uint32_t color) {
  const int left = std::max(std::min(x1, x2), 0);
  const int right = std::min(std::max(x1, x2), image_.width() - 1);
  const int top = std::max(std::min(y1, y2), 0);
  const int bottom = std::min(std::max(y1, y2), image_.height() - 1);
  if (left > right || top > bottom)
    return;
  const QRgb rgb = PackedToQRgb(color);
  for (int y = top; y <= bottom; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(line + left, line + right + 1, rgb);
  }
  update();
}

void PictureBox::Circle(int cx, int cy, double radius, std::uint32_t color) {
  if (!(radius >= 0.0))
    return;
  // Testing pixel centres against the ring keeps small circles symmetric,
  // which a stroked path does not at radius 2 or 3.
  const double half = lineWidth_ / 2.0;
  const double inner = std::max(0.0, radius - half);
  const double outer = radius + half;
  const int reach = static_cast<int>(std::ceil(outer));
  const QRgb rgb = PackedToQRgb(color);
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const double distance = std::hypot(dx, dy);
      const QPoint point(cx + dx, cy + dy);
      if (distance >= inner && distance < outer && image_.valid(point))
        image_.setPixel(point, rgb);
    }
  }
  update();
}

void PictureBox::SetLineWidth(int width) {
  lineWidth_ = std::max(1, width);
}

void PictureBox::SetPixel(int x, int y, std::uint32_t color) {
  if (!image_.valid(x, y))
    return;
  image_.setPixel(x, y, PackedToQRgb(color));
  update();
}

std::uint32_t PictureBox::Pixel(int x, int y) const {
  if (!image_.valid(x, y))
    return background_;
  return QRgbToPacked(image_.pixel(x, y));
}

Bitmap PictureBox::ToBitmap() const {
  return FromQImage(image_);
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const int border = BorderWidth();
  painter.drawImage(border, border, image_);
  DrawBorder(painter);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  SyncImage();
  QWidget::resizeEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 static_cast<float>(point.x()), static_cast<float>(point.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()),
                 static_cast<float>(point.x()), static_cast<float>(point.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
               static_cast<float>(point.x()), static_cast<float>(point.y()));
}

// Keeps the retained image the size of the drawing area. Pixels that still
// fit survive a resize; uncovered area takes the background colour.
void PictureBox::SyncImage() {
  const int border = BorderWidth();
  const QSize size(std::max(0, width() - 2 * border), std::max(0, height() - 2 * border));
  if (image_.size() == size)
    return;
  if (size.isEmpty()) {
    image_ = QImage();
    return;
  }
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(PackedToQRgb(background_));
  if (!image_.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
  }
  image_ = std::move(resized);
  update();
}

void PictureBox::DrawBorder(QPainter& painter) const {
  switch (border_) {
    case Border::Flat:
      qDrawPlainRect(&painter, rect(), palette().color(QPalette::WindowText), 1);
      break;
    case Border::Sunken:
      qDrawWinPanel(&painter, rect(), palette(), true);
      break;
    case Border::None:
      break;
  }
}

QPointF PictureBox::ToDrawingArea(const QPointF& widgetPoint) const {
  const int border = BorderWidth();
  return widgetPoint - QPointF(border, border);
}

}  // namespace korimo
