#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <cstdint>

#include "app/Platform.h"

namespace korimo {

// A surface the window draws into in pixels, origin at the top-left corner of
// the drawing area inside the border. What is drawn is kept in an image until
// cleared, so repaints, the clipboard and bitmap files all see the same
// pixels. Colours are packed with red in the low byte. Nothing is
// antialiased; drawing outside the area is clipped.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  enum class Border { None, Flat, Sunken };

  explicit PictureBox(QWidget* parent = nullptr);

  void SetBorder(Border border);
  int BorderWidth() const;

  // Takes effect on the next Clear(), and on area uncovered by a resize.
  void SetBackground(std::uint32_t color);
  std::uint32_t Background() const { return background_; }

  void SetOuterSizePixels(int width, int height);
  void SetGeometryTwips(int left, int top, int width, int height);
  void SetSizeTwips(int width, int height);

  // Size of the drawing area in pixels.
  int ScaleWidth() const { return image_.width(); }
  int ScaleHeight() const { return image_.height(); }

  void Clear();
  // Both end points are drawn.
  void Line(int x1, int y1, int x2, int y2, std::uint32_t color);
  // Both corners belong to the rectangle; the outline is LineWidth() thick
  // and grows inwards, so it never paints outside the corners.
  void RectOutline(int x1, int y1, int x2, int y2, std::uint32_t color);
  // Both corner rows and columns are filled, so cells drawn as
  // (x, y)-(x + s - 1, y + s - 1) abut without gaps.
  void FillRect(int x1, int y1, int x2, int y2, std::uint32_t color);
  // The pixels whose centres lie within half a line width of the circle.
  void Circle(int cx, int cy, double radius, std::uint32_t color);
  void SetLineWidth(int width);
  int LineWidth() const { return lineWidth_; }
  void SetPixel(int x, int y, std::uint32_t color);
  // The background colour for a point outside the drawing area.
  std::uint32_t Pixel(int x, int y) const;

  const QImage& Image() const { return image_; }
  Bitmap ToBitmap() const;

 signals:
  // Positions in drawing-area pixels; codes as in MouseCodes.h. A move
  // reports every button held, a press or release the one that changed.
  void mouseDown(int button, int shift, float x, float y);
  void mouseMove(int button, int shift, float x, float y);
  void mouseUp(int button, int shift, float x, float y);
  void filesDropped(const QStringList& paths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SyncImage();
  void DrawBorder(QPainter& painter) const;
  QPointF ToDrawingArea(const QPointF& widgetPoint) const;

  QImage image_;
  Border border_ = Border::None;
  std::uint32_t background_ = 0xFFFFFF;
  int lineWidth_ = 1;
};

}  // namespace korimo
