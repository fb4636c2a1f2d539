#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <cstdint>

#include "app/Indices.h"
#include "app/Raster.h"

namespace korimo {

// A picture of the engine on screen: its drawing area, inside an optional
// border, shows a Raster pixel for pixel. The box draws nothing itself; the
// engine draws into the raster and the box repaints once the raster's
// revision has moved on. Mouse positions are reported in drawing-area pixels.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  enum class Border { None, Flat, Sunken };

  explicit PictureBox(QWidget* parent = nullptr);

  void SetBorder(Border border);
  int BorderWidth() const;

  void SetOuterSizePixels(int width, int height);
  void SetGeometryTwips(int left, int top, int width, int height);

  // Size of the drawing area in pixels.
  int ScaleWidth() const;
  int ScaleHeight() const;

  // `picture` must outlive the box, or be replaced first; without one the
  // drawing area shows the window background.
  void SetPicture(const Raster* picture);
  const Raster* Picture() const { return picture_; }

  // Repaints if the picture changed since it was last shown.
  void Refresh();

 signals:
  // A press or release reports the button that changed.
  void mouseDown(korimo::MouseButton button, korimo::Modifiers modifiers, float x, float y);
  void mouseMove(float x, float y);
  void mouseUp(korimo::MouseButton button, korimo::Modifiers modifiers, float x, float y);
  void filesDropped(const QStringList& paths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void DrawPicture(QPainter& painter);
  void DrawBorder(QPainter& painter) const;
  QPointF ToDrawingArea(const QPointF& widgetPoint) const;

  const Raster* picture_ = nullptr;
  std::uint64_t shownRevision_ = 0;
  // An opaque copy, only for surfaces that keep an alpha channel.
  QImage opaque_;
  std::uint64_t opaqueRevision_ = 0;
  Border border_ = Border::None;
};

}  // namespace korimo
