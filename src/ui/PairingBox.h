#pragma once

#include <QWidget>

#include "app/PairingMap.h"

class QComboBox;
class QLabel;

namespace korimo {

// "対応:" and its choice of 位置 / ID / デバイス値, in the tab row; it only
// reports the user's choice and shows the engine's.
class PairingBox : public QWidget {
  Q_OBJECT

 public:
  explicit PairingBox(QWidget* parent = nullptr);

  // Shows `mode` without reporting it as a choice.
  void Show(PairingMode mode);
  QComboBox& Combo() const { return *combo_; }

 signals:
  void modeChosen(PairingMode mode);

 private:
  void Chosen(int index);

  QLabel* caption_ = nullptr;
  QComboBox* combo_ = nullptr;
};

}  // namespace korimo
