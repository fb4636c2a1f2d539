#include "ui/VerificationPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/Fonts.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

constexpr int kOverallPointSize = 16;
const QColor kPassColour(0, 128, 0);
const QColor kFailColour(192, 0, 0);

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* Line(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(Text(text), parent);
  label->setFont(UiFont());
  label->setWordWrap(true);
  return label;
}

// A read-only table exactly as tall as its rows, so the page scrolls as one.
template <std::size_t Columns>
QTableWidget* Table(const std::array<std::string_view, Columns>& headings, int rows,
                    QWidget* parent) {
  auto* table = new QTableWidget(rows, static_cast<int>(Columns), parent);
  table->setFont(UiFont());
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->verticalHeader()->hide();
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QStringList labels;
  for (const std::string_view heading : headings)
    labels << Text(heading);
  table->setHorizontalHeaderLabels(labels);
  return table;
}

void SetCell(QTableWidget* table, int row, int column, const std::string& text,
             Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(Text(text));
  item->setTextAlignment(alignment);
  table->setItem(row, column, item);
}

void FitHeight(QTableWidget* table) {
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
  for (int r = 0; r < table->rowCount(); ++r)
    height += table->rowHeight(r);
  table->setFixedHeight(height);
}

QColor MarkColour(VerdictMark mark) {
  return mark == VerdictMark::Pass ? kPassColour : kFailColour;
}

}  // namespace

VerificationPage::VerificationPage(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  setChoice = new QComboBox(this);
  setChoice->setFont(UiFont());
  setChoice->addItem(Text(kNoSetChoice));
  for (const CriteriaSet& set : BuiltInCriteriaSets())
    setChoice->addItem(Text(set.name));
  setChoice->addItem(Text(kFromFileChoice));
  setChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  title_ = new QLabel(this);
  title_->setFont(UiFont());
  top->addWidget(setChoice);
  top->addWidget(title_, 1);
  layout->addLayout(top);
  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  body_ = new QHBoxLayout;
  body_->addWidget(scroll_, 1);
  layout->addLayout(body_, 1);
  connect(setChoice, &QComboBox::activated, this, &VerificationPage::Chosen);
  Render({});
}

void VerificationPage::SetSidePanel(QWidget* panel) {
  panel->setParent(this);
  body_->addWidget(panel, 0, Qt::AlignTop);
}

int VerificationPage::FromFileIndex() {
  return static_cast<int>(BuiltInCriteriaSets().size()) + 1;
}

void VerificationPage::Chosen(int index) {
  if (index == FromFileIndex()) {
    emit fileRequested();
    return;
  }
  lastIndex_ = index;
  if (index == 0)
    emit setChosen(std::nullopt);
  else
    emit setChosen(BuiltInCriteriaSets()[static_cast<std::size_t>(index - 1)]);
}

void VerificationPage::FileAnswered(bool accepted) {
  if (accepted)
    lastIndex_ = FromFileIndex();
  setChoice->setCurrentIndex(lastIndex_);
}

QWidget* VerificationPage::PairTables(const PairVerificationPage& page) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  QLabel* heading = Line(page.title, box);
  QFont bold = UiFont();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);

  QTableWidget* criteria = Table(kCriteriaHeadings, static_cast<int>(page.rows.size()), box);
  for (int r = 0; r < static_cast<int>(page.rows.size()); ++r) {
    const VerificationRow& row = page.rows[static_cast<std::size_t>(r)];
    SetCell(criteria, r, 0, row.criterion, Qt::AlignLeft | Qt::AlignVCenter);
    SetCell(criteria, r, 1, row.patches);
    SetCell(criteria, r, 2, row.value);
    SetCell(criteria, r, 3, row.limit);
    SetCell(criteria, r, 4, row.verdict, Qt::AlignLeft | Qt::AlignVCenter);
    criteria->item(r, 4)->setForeground(MarkColour(row.mark));
  }
  FitHeight(criteria);
  layout->addWidget(criteria);
  if (!page.note.empty())
    layout->addWidget(Line(page.note, box));

  QLabel* overall = Line(page.overall, box);
  QFont large = UiFont();
  large.setPointSize(kOverallPointSize);
  large.setBold(true);
  overall->setFont(large);
  QPalette palette = overall->palette();
  palette.setColor(QPalette::WindowText, page.pass ? kPassColour : kFailColour);
  overall->setPalette(palette);
  layout->addWidget(overall);
  return box;
}

void VerificationPage::Render(const VerificationRecord& record) {
  if (shown_ && *shown_ == record)
    return;
  shown_ = record;
  title_->setText(Text(record.setName));
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  if (!record.message.empty())
    layout->addWidget(Line(record.message, content));
  for (const PairVerificationPage& page : record.pairs)
    layout->addWidget(PairTables(page));
  for (const PairVerificationPage& page : record.pairs) {
    layout->addWidget(
        Line(page.title + " ⊿E00 ワースト" + std::to_string(page.worst.size()), content));
    QTableWidget* worst = Table(kWorstHeadings, static_cast<int>(page.worst.size()), content);
    for (int r = 0; r < static_cast<int>(page.worst.size()); ++r) {
      for (int c = 0; c < kWorstColumns; ++c)
        SetCell(worst, r, c, page.worst[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
    FitHeight(worst);
    layout->addWidget(worst);
  }
  if (!record.disclaimer.empty())
    layout->addWidget(Line(record.disclaimer, content));
  layout->addStretch(1);
  scroll_->setWidget(content);  // deletes the previous content
}

}  // namespace korimo
