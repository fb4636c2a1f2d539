#pragma once

#include <QFrame>

#include <functional>
#include <optional>
#include <string>

#include "app/Criteria.h"
#include "app/VerificationRecord.h"

class QComboBox;
class QLabel;
class QHBoxLayout;
class QScrollArea;
class QVBoxLayout;

namespace korimo {

// The "判定" page: a choice of criteria set above one table of criteria and
// one of the worst patches per pair, each with its overall verdict. It shows
// the engine's verification record and reports the set the user chose.
class VerificationPage : public QFrame {
  Q_OBJECT

 public:
  explicit VerificationPage(QWidget* parent);

  // Redraws the tables when the record differs from what the page shows.
  void Render(const VerificationRecord& record);

  // Puts `panel` (the report's controls) beside the tables.
  void SetSidePanel(QWidget* panel);

  // Index of the combo box's last entry, which asks for a criteria file.
  static int FromFileIndex();

  QComboBox* setChoice = nullptr;

 signals:
  // A built-in set or none, chosen in the combo box.
  void setChosen(std::optional<CriteriaSet> set);
  // The user asked for a criteria file; the window answers with a set (the
  // combo box keeps the choice) or nothing (it goes back to what it was).
  void fileRequested();

 public:
  // Called back once a file request was answered.
  void FileAnswered(bool accepted);

 private:
  void Chosen(int index);
  QWidget* PairTables(const PairVerificationPage& page);

  QLabel* title_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QHBoxLayout* body_ = nullptr;
  std::optional<VerificationRecord> shown_;
  int lastIndex_ = 0;
};

}  // namespace korimo
