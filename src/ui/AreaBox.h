#pragma once

#include <QLineEdit>
#include <string>
#include <string_view>

namespace korimo {

// The one-line box that shows the statistics of a dragged chart area. Its
// text can be selected and copied with Ctrl+C; every other key that would
// type is swallowed. A text wider than the box is also its tooltip.
class AreaBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit AreaBox(QWidget* parent);

  // Shows `text` from its start; the text it already shows costs nothing.
  void SetCaption(std::string_view text);
  const std::string& Caption() const { return caption_; }
  // The width the box has for its text, in pixels.
  int TextRoom() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::string caption_;
};

}  // namespace korimo
