#pragma once

#include <QWidget>

#include <functional>

#include "export/HtmlReport.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korimo {

class Platform;

// The report's part of the verification page: the job fields, the
// every-patch option and "レポート保存". It only gathers what the user
// typed; the engine's state and the verdicts come from the page it sits on.
class ReportControls : public QWidget {
  Q_OBJECT

 public:
  // `verification` gives the verdicts the page shows at the time of saving.
  ReportControls(Platform& platform, const EngineState& state,
                 std::function<ReportVerification()> verification, QWidget* parent = nullptr);

  // What a save writes now, the creation time included.
  ReportInput Input() const;
  // The job fields as typed; the run page's report takes them too.
  ReportJob Job() const;

  QLineEdit& title() const { return *title_; }
  QLineEdit& operatorName() const { return *operator_; }
  QPlainTextEdit& note() const { return *note_; }
  QCheckBox& allPatches() const { return *allPatches_; }
  QPushButton& saveButton() const { return *save_; }

 private:
  void Save();

  Platform& platform_;
  const EngineState& state_;
  std::function<ReportVerification()> verification_;
  QLineEdit* title_ = nullptr;
  QLineEdit* operator_ = nullptr;
  QPlainTextEdit* note_ = nullptr;
  QCheckBox* allPatches_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace korimo
