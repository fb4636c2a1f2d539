#include "ui/RunTableModel.h"

#include <QBrush>
#include <QColor>
#include <QString>

#include <algorithm>
#include <numeric>

#include "app/RunView.h"

namespace korimo {

namespace {

const QColor kUncountedColour(119, 119, 119);

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

RunTableModel::RunTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RunTableModel::SetRows(const SheetRowRefs* rows, const RunOptions* options) {
  rows_ = rows;
  options_ = options;
  Reset();
}

void RunTableModel::Reset() {
  beginResetModel();
  order_.resize(rows_ != nullptr && options_ != nullptr ? rows_->size() : 0);
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  if (sortColumn_ >= 0)
    std::sort(order_.begin(), order_.end(), [this](auto a, auto b) { return Before(a, b); });
  endResetModel();
}

void RunTableModel::Append(std::size_t from) {
  if (rows_ == nullptr || from != order_.size() || rows_->size() <= from)
    return Reset();
  beginInsertRows(QModelIndex(), static_cast<int>(from), static_cast<int>(rows_->size()) - 1);
  for (std::size_t i = from; i < rows_->size(); ++i)
    order_.push_back(i);
  endInsertRows();
  if (sortColumn_ < 0)
    return;
  // The new rows, sorted among themselves, merge into the sorted rest: a
  // batch costs the length of the table, not its square.
  std::vector<std::size_t> order = order_;
  const auto middle = order.begin() + static_cast<std::ptrdiff_t>(from);
  const auto before = [this](auto a, auto b) { return Before(a, b); };
  std::sort(middle, order.end(), before);
  std::inplace_merge(order.begin(), middle, order.end(), before);
  Reorder(order);
}

void RunTableModel::sort(int column, Qt::SortOrder order) {
  sortColumn_ = column;
  descending_ = order == Qt::DescendingOrder;
  std::vector<std::size_t> sorted(order_.size());
  std::iota(sorted.begin(), sorted.end(), std::size_t{0});
  std::sort(sorted.begin(), sorted.end(), [this](auto a, auto b) { return Before(a, b); });
  Reorder(sorted);
}

// Run order breaks ties, so the order is total; the No. column is the run
// order itself.
bool RunTableModel::Before(std::size_t a, std::size_t b) const {
  if (sortColumn_ > 0) {
    const SheetRow& ra = *(*rows_)[a];
    const SheetRow& rb = *(*rows_)[b];
    if (RunRowBefore(ra, rb, sortColumn_, descending_))
      return true;
    if (RunRowBefore(rb, ra, sortColumn_, descending_))
      return false;
  }
  return descending_ && sortColumn_ == 0 ? b < a : a < b;
}

// Selections and the current row follow their sheets.
void RunTableModel::Reorder(const std::vector<std::size_t>& order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> rowOf(order.size());
  for (std::size_t r = 0; r < order.size(); ++r)
    rowOf[order[r]] = static_cast<int>(r);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    const std::size_t sheet = order_[static_cast<std::size_t>(index.row())];
    after.append(this->index(rowOf[sheet], index.column()));
  }
  order_ = order;
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int RunTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int RunTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRunColumns;
}

QVariant RunTableModel::data(const QModelIndex& index, int role) const {
  if (rows_ == nullptr || !index.isValid() ||
      static_cast<std::size_t>(index.row()) >= order_.size())
    return QVariant();
  const std::size_t sheet = SheetOf(index.row());
  const SheetRow& row = *(*rows_)[sheet];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return FromUtf8(RunCellText(row, static_cast<int>(sheet) + 1, column, *options_));
    case Qt::ToolTipRole:
      if (column == kRunFileColumn)
        return FromUtf8(row.file);
      if (column == kRunReasonColumn)
        return FromUtf8(RunCellText(row, static_cast<int>(sheet) + 1, column, *options_));
      return QVariant();
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(RunColumnIsText(column) ? Qt::AlignLeft | Qt::AlignVCenter
                                                         : Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (!row.Counts())
        return QBrush(kUncountedColour);
      if (column == kRunVerdictColumn && !row.verdicts.empty() && !row.verdicts.front().pass)
        return QBrush(Qt::red);
      return QVariant();
    default:
      return QVariant();
  }
}

QVariant RunTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kRunColumns ||
      role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  return FromUtf8(RunColumnHeading(section));
}

Qt::ItemFlags RunTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace korimo
