#include "ui/PictureBox.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "ui/FileDropFilter.h"
#include "ui/MouseInput.h"
#include "ui/RasterImage.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

// Raster pixels leave their fourth byte at 0. A surface without an alpha
// channel ignores it, so the pixels can be drawn in place; any other would
// keep the 0 as transparency.
bool IgnoresAlpha(QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
  return device != nullptr && device->devType() == QInternal::Image &&
         !static_cast<const QImage*>(device)->hasAlphaChannel();
}

float Single(double v) {
  return static_cast<float>(v);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  auto* drops = new FileDropFilter(this);
  connect(drops, &FileDropFilter::filesDropped, this, &PictureBox::filesDropped);
}

void PictureBox::SetBorder(Border border) {
  border_ = border;
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

void PictureBox::SetOuterSizePixels(int width, int height) {
  resize(std::max(0, width), std::max(0, height));
}

void PictureBox::SetGeometryTwips(int left, int top, int width, int height) {
  setGeometry(TwipsRect(left, top, width, height));
}

int PictureBox::ScaleWidth() const {
  return std::max(0, width() - 2 * BorderWidth());
}

int PictureBox::ScaleHeight() const {
  return std::max(0, height() - 2 * BorderWidth());
}

void PictureBox::SetPicture(const Raster* picture) {
  picture_ = picture;
  shownRevision_ = picture != nullptr ? picture->Revision() : 0;
  opaque_ = QImage();
  update();
}

void PictureBox::Refresh() {
  if (picture_ == nullptr || picture_->Revision() == shownRevision_)
    return;
  shownRevision_ = picture_->Revision();
  update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  DrawPicture(painter);
  DrawBorder(painter);
}

void PictureBox::DrawPicture(QPainter& painter) {
  const int border = BorderWidth();
  const QRect area(border, border, ScaleWidth(), ScaleHeight());
  const bool shown = picture_ != nullptr && !picture_->Empty();
  const QSize size = shown ? QSize(picture_->Width(), picture_->Height()) : QSize();
  // Only a picture smaller than the drawing area leaves any of it uncovered.
  if (size.width() < area.width() || size.height() < area.height())
    painter.fillRect(area, palette().color(QPalette::Base));
  if (!shown)
    return;
  if (IgnoresAlpha(painter)) {
    painter.drawImage(area.topLeft(), RasterView(*picture_));
    return;
  }
  if (opaque_.isNull() || opaqueRevision_ != picture_->Revision()) {
    opaque_ = RasterCopy(*picture_);
    opaqueRevision_ = picture_->Revision();
  }
  painter.drawImage(area.topLeft(), opaque_);
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

void PictureBox::mousePressEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseDown(ButtonOf(event->button()), ModifiersOf(event->modifiers()), Single(point.x()),
                 Single(point.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseMove(Single(point.x()), Single(point.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF point = ToDrawingArea(event->position());
  emit mouseUp(ButtonOf(event->button()), ModifiersOf(event->modifiers()), Single(point.x()),
               Single(point.y()));
}

QPointF PictureBox::ToDrawingArea(const QPointF& widgetPoint) const {
  const int border = BorderWidth();
  return widgetPoint - QPointF(border, border);
}

}  // namespace korimo
