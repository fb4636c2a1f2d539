#include "ui/ReportControls.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/ReportSave.h"
#include "ui/Fonts.h"
#include "ui/StaticCaptions.h"

namespace korimo {

namespace {

std::string Utf8(const QString& text) {
  return text.trimmed().toUtf8().toStdString();
}

}  // namespace

ReportControls::ReportControls(Platform& platform, const EngineState& state,
                               std::function<ReportVerification()> verification, QWidget* parent)
    : QWidget(parent), platform_(platform), state_(state), verification_(std::move(verification)) {
  setFont(UiFont());
  title_ = new QLineEdit(this);
  operator_ = new QLineEdit(this);
  note_ = new QPlainTextEdit(this);
  note_->setTabChangesFocus(true);
  note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 3 + 10);
  allPatches_ = new QCheckBox(QStringLiteral("全パッチを含める"), this);
  save_ = new QPushButton(QString::fromUtf8(kReportSaveCaption), this);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("件名"), title_);
  fields->addRow(QStringLiteral("担当者"), operator_);
  fields->addRow(QStringLiteral("メモ"), note_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(fields);
  layout->addWidget(allPatches_);
  layout->addWidget(save_);
  connect(save_, &QPushButton::clicked, this, &ReportControls::Save);
}

ReportJob ReportControls::Job() const {
  return {Utf8(title_->text()), Utf8(operator_->text()), Utf8(note_->toPlainText())};
}

ReportInput ReportControls::Input() const {
  ReportInput input;
  input.job = Job();
  input.patches = allPatches_->isChecked() ? ReportPatches::All : ReportPatches::Worst;
  input.createdAt = ReportCreationTime();
  input.pairing = PairingForReport(state_);
  if (verification_)
    input.verification = verification_();
  return input;
}

void ReportControls::Save() {
  But_Report_Click(platform_, state_, Input());
}

}  // namespace korimo
