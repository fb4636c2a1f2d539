#include "ui/CaptionLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace korimo {

CaptionLabel::CaptionLabel(QWidget* parent, std::string_view caption) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  SetCaption(caption);
  ShowCaption();
}

void CaptionLabel::SetCaption(std::string_view caption) {
  if (caption == caption_)
    return;
  caption_ = std::string(caption);
  full_ = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  full_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  ShowCaption();
}

void CaptionLabel::SetElideMiddle(bool elide) {
  elideMiddle_ = elide;
  ShowCaption();
}

void CaptionLabel::SetTip(std::string_view tip) {
  const QString text = QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size()));
  if (text == tip_)
    return;
  tip_ = text;
  ShowCaption();
}

bool CaptionLabel::Fits() const {
  const QFontMetrics metrics(font());
  const int room = contentsRect().width() - 2 * margin() - std::max(indent(), 0);
  for (const QString& line : full_.split(QChar('\n'))) {
    if (metrics.horizontalAdvance(line) > room)
      return false;
  }
  return true;
}

void CaptionLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowCaption();
}

void CaptionLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    ShowCaption();
}

void CaptionLabel::ShowCaption() {
  const bool fits = Fits();
  QString shown = full_;
  if (elideMiddle_ && !fits)
    shown = fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width());
  if (text() != shown)
    setText(shown);
  QString tip = fits && !elideMiddle_ ? QString() : full_;
  if (!tip_.isEmpty())
    tip = tip_;
  if (toolTip() != tip)
    setToolTip(tip);
}

}  // namespace korimo
