#include "ui/RunStatisticsFrame.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "ui/CaptionLabel.h"
#include "ui/Fonts.h"
#include "ui/StaticCaptions.h"

namespace korimo {

namespace {

constexpr int kFirstFigureRow = 4;
const QColor kPassColour(0, 128, 0);
const QColor kFailColour(192, 0, 0);
constexpr int kMinimum = 2;
constexpr int kMaximum = 3;

CaptionLabel* Label(QWidget* parent, std::string_view caption, Qt::Alignment alignment) {
  auto* label = new CaptionLabel(parent, caption);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

}  // namespace

RunStatisticsFrame::RunStatisticsFrame(QWidget* parent)
    : QGroupBox(QString::fromUtf8(kRunStatisticsTitle), parent) {
  setFont(UiFont());
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(1);
  counts = Label(this, {}, Qt::AlignLeft);
  setName = Label(this, {}, Qt::AlignLeft);
  setName->SetElideMiddle(true);
  verdict = Label(this, {}, Qt::AlignLeft);
  share = Label(this, {}, Qt::AlignLeft);
  auto* judged = new QHBoxLayout;
  judged->setSpacing(12);
  judged->addWidget(verdict);
  judged->addWidget(share, 1);
  grid->addWidget(counts, 0, 0, 1, 5);
  grid->addWidget(setName, 1, 0, 1, 5);
  grid->addLayout(judged, 2, 0, 1, 5);
  for (std::size_t c = 0; c < headings.size(); ++c) {
    headings[c] = Label(this, kRunSummaryHeadings[c], Qt::AlignRight);
    grid->addWidget(headings[c], kFirstFigureRow - 1, static_cast<int>(c) + 1);
  }
  // The figures' columns keep the room of the widest figure a run shows, so
  // that the frame stands still as the figures change.
  const int figureWidth = fontMetrics().horizontalAdvance(QStringLiteral("124.46"));
  for (std::size_t k = 0; k < names.size(); ++k) {
    const int row = kFirstFigureRow + static_cast<int>(k);
    names[k] = Label(this, kRunStatisticNames[k], Qt::AlignLeft);
    grid->addWidget(names[k], row, 0);
    for (std::size_t c = 0; c < figures[k].size(); ++c) {
      figures[k][c] = Label(this, {}, Qt::AlignRight);
      figures[k][c]->setMinimumWidth(figureWidth);
      grid->addWidget(figures[k][c], row, static_cast<int>(c) + 1);
    }
  }
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(kFirstFigureRow + kRunStatistics, 1);
}

void RunStatisticsFrame::Render(const RunStatisticsTexts& texts) {
  counts->SetCaption(texts.counts);
  setName->SetCaption(texts.setName);
  verdict->SetCaption(texts.verdict);
  QPalette palette = verdict->palette();
  palette.setColor(QPalette::WindowText, texts.pass ? kPassColour : kFailColour);
  verdict->setPalette(palette);
  share->SetCaption(texts.share);
  // Without a share the verdict says why at length and takes the whole line.
  share->setVisible(!texts.share.empty());
  for (std::size_t k = 0; k < figures.size(); ++k) {
    for (std::size_t c = 0; c < figures[k].size(); ++c)
      figures[k][c]->SetCaption(texts.figures[k][c]);
    figures[k][kMinimum]->SetTip(texts.sheets[k][0]);
    figures[k][kMaximum]->SetTip(texts.sheets[k][1]);
  }
}

}  // namespace korimo
