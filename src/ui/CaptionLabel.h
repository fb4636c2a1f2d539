#pragma once

#include <QLabel>
#include <string>
#include <string_view>

namespace korimo {

// A label whose caption reads back exactly as it was set, line breaks as CR LF
// included, while the screen shows the lines. Setting the caption it already
// shows costs nothing, so a view can be refreshed from its record at will.
class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  explicit CaptionLabel(QWidget* parent, std::string_view caption = {});

  void SetCaption(std::string_view caption);
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

}  // namespace korimo
