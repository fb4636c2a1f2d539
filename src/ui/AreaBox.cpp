#include "ui/AreaBox.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStyle>
#include <QStyleOptionFrame>

namespace korimo {

namespace {
constexpr char kCtrlC = 3;
// The margin QLineEdit keeps on each side of its text inside the contents.
constexpr int kLineEditMargin = 2;
}  // namespace

AreaBox::AreaBox(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
}

void AreaBox::SetCaption(std::string_view text) {
  if (text == caption_)
    return;
  caption_ = std::string(text);
  setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  setCursorPosition(0);
  const QString shown = QLineEdit::text();
  setToolTip(fontMetrics().horizontalAdvance(shown) > TextRoom() ? shown : QString());
}

int AreaBox::TextRoom() const {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  const QMargins margins = textMargins();
  return contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin;
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
