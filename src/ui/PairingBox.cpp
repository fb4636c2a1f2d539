#include "ui/PairingBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "ui/Fonts.h"

namespace korimo {

namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PairingBox::PairingBox(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  caption_ = new QLabel(QString::fromUtf8("対応:"), this);
  caption_->setFont(UiFont());
  combo_ = new QComboBox(this);
  combo_->setFont(UiFont());
  for (const PairingModeName& name : kPairingModes)
    combo_->addItem(FromView(name.caption));
  combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  layout->addWidget(caption_);
  layout->addWidget(combo_);
  connect(combo_, &QComboBox::activated, this, &PairingBox::Chosen);
}

void PairingBox::Show(PairingMode mode) {
  for (std::size_t i = 0; i < kPairingModes.size(); ++i) {
    if (kPairingModes[i].mode == mode && combo_->currentIndex() != static_cast<int>(i)) {
      const QSignalBlocker quiet(combo_);
      combo_->setCurrentIndex(static_cast<int>(i));
    }
  }
}

void PairingBox::Chosen(int index) {
  if (index >= 0 && index < static_cast<int>(kPairingModes.size()))
    emit modeChosen(kPairingModes[static_cast<std::size_t>(index)].mode);
}

}  // namespace korimo
