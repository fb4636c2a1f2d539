#include "ui/CaptionLabel.h"

namespace korimo {

CaptionLabel::CaptionLabel(QWidget* parent, std::string_view caption) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  SetCaption(caption);
}

void CaptionLabel::SetCaption(std::string_view caption) {
  if (caption == caption_)
    return;
  caption_ = std::string(caption);
  QString shown = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setText(shown);
}

}  // namespace korimo
