#pragma once

#include <QLabel>
#include <string>
#include <string_view>

namespace korimo {

// A label whose caption reads back exactly as it was set, line breaks as CR LF
// included, while the screen shows the lines. Setting the caption it already
// shows costs nothing, so a view can be refreshed from its record at will.
// A caption wider than the label is also its tooltip, so the whole text can
// always be read; a path label shortens it in the middle, keeping the file
// name in view.
class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  explicit CaptionLabel(QWidget* parent, std::string_view caption = {});

  void SetCaption(std::string_view caption);
  const std::string& Caption() const { return caption_; }

  void SetElideMiddle(bool elide);
  // A tooltip of the label's own, shown instead of a caption too wide.
  void SetTip(std::string_view tip);
  // The caption as lines of screen text.
  const QString& FullText() const { return full_; }
  // Whether every line of the caption fits the label's width.
  bool Fits() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowCaption();

  std::string caption_;
  QString full_;
  QString tip_;
  bool elideMiddle_ = false;
};

}  // namespace korimo
