#include "ui/AreaBox.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace korimo {

namespace {
constexpr char kCtrlC = 3;
}

AreaBox::AreaBox(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
}

void AreaBox::SetCaption(std::string_view text) {
  if (text == caption_)
    return;
  caption_ = std::string(text);
  setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  setCursorPosition(0);
}

void AreaBox::keyPressEvent(QKeyEvent* event) {
  // Only some platforms give Ctrl+C the control character as its text;
  // others give "c", so the copy shortcut is recognised as such too.
  const bool copy = event->matches(QKeySequence::Copy) || event->text() == QString(QChar(kCtrlC));
  if (!event->text().isEmpty() && !copy) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace korimo
