#include "ui/FlexGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "ui/FileDropFilter.h"
#include "ui/GridModel.h"
#include "ui/MouseInput.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

constexpr int kLastCol = kGridCols - 1;

// The centre of the pixel keeps the boundary between the heading row and
// the first data row from reading as either.
float PixelCentreTwips(double pixel) {
  return static_cast<float>((std::floor(pixel) + 0.5) * kTwipsPerPixel);
}

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
  setModel(model_);
  ConfigureView();
  ConnectDrops();
  horizontalHeader()->viewport()->installEventFilter(this);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &FlexGrid::CheckTopRow);
  connect(model_, &QAbstractItemModel::modelReset, this, &FlexGrid::CheckTopRow);
}

int FlexGrid::Rows() const {
  return model_->rowCount() + 1;
}

void FlexGrid::SetColWidthTwips(int col, int twips) {
  setColumnWidth(col, TwipsToPixels(twips));
}

int FlexGrid::CellWidthFor(const QString& text) const {
  // Item views keep the focus frame's margin and a pixel more on each side
  // of a cell's text; the grid line takes the cell's last pixel.
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
  const int gridLine = showGrid() ? 1 : 0;
  return fontMetrics().horizontalAdvance(text) + 2 * margin + gridLine;
}

int FlexGrid::HeadingWidthFor(const QString& heading) const {
  const QHeaderView* header = horizontalHeader();
  const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  return header->fontMetrics().horizontalAdvance(heading) + 2 * margin;
}

int FlexGrid::ColWidthTwips(int col) const {
  return columnWidth(col) * kTwipsPerPixel;
}

int FlexGrid::RowHeightTwips(int row) const {
  if (row == 0)
    return HeaderHeightPixels() * kTwipsPerPixel;
  const int height = row < Rows() ? rowHeight(row - 1) : verticalHeader()->defaultSectionSize();
  return height * kTwipsPerPixel;
}

void FlexGrid::SetGeometryTwips(int left, int top, int width, int height) {
  setGeometry(TwipsRect(left, top, width, height));
}

void FlexGrid::SetWidthTwips(int width) {
  resize(TwipsToPixels(width), height());
}

int FlexGrid::LeftTwips() const {
  return x() * kTwipsPerPixel;
}

int FlexGrid::TopTwips() const {
  return y() * kTwipsPerPixel;
}

int FlexGrid::HeightTwips() const {
  return height() * kTwipsPerPixel;
}

int FlexGrid::Col() const {
  return col_;
}

void FlexGrid::SelectRowWhole() {
  const QModelIndex current = currentIndex();
  if (!current.isValid())
    return;
  const QModelIndex first = model_->index(current.row(), 0);
  selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
  selectionModel()->select(QItemSelection(first, model_->index(current.row(), kLastCol)),
                           QItemSelectionModel::ClearAndSelect);
}

int FlexGrid::TopRow() const {
  const int top = rowAt(0);
  return top < 0 ? 1 : top + 1;
}

void FlexGrid::ScrollToRow(int row) {
  if (row < 1 || row >= Rows())
    return;
  // Scroll bar ranges follow the rows only after the pending layout.
  doItemsLayout();
  scrollTo(model_->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        OnHeaderPress(press);
        if (press->button() != Qt::LeftButton)
          return true;  // the heading row keeps its selection too
        break;
      }
      case QEvent::MouseButtonDblClick:
        // The second press of a double click makes no second click: a
        // double click on a heading sorts once.
        return true;
      case QEvent::MouseButtonRelease:
        EmitRelease(static_cast<QMouseEvent*>(event), 0);
        break;
      default:
        break;
    }
  }
  return QTableView::eventFilter(watched, event);
}

void FlexGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange)
    ApplyRowHeight();
  QTableView::changeEvent(event);
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (current.isValid())
    col_ = current.column();
  QTableView::currentChanged(current, previous);
}

// Only the left button moves the current cell and the selection; a right
// press is reported for the pop-up menu and leaves the rows as they are.
void FlexGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    QTableView::mousePressEvent(event);
  else
    event->accept();
  EmitPress(event, HeaderHeightPixels());
}

// A double click is one click: its second press does nothing, and the grid
// has nothing to edit.
void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    QTableView::mouseReleaseEvent(event);
  EmitRelease(event, HeaderHeightPixels());
}

void FlexGrid::ConfigureView() {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  // Whole rows per step keep the swatch strip beside the grid in line with
  // the rows it stands for.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Every row has the default height, so thousands of rows are laid out
  // without asking a single one for its size.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  ApplyRowHeight();
}

void FlexGrid::ConnectDrops() {
  auto* cellDrops = new FileDropFilter(viewport());
  auto* headingDrops = new FileDropFilter(horizontalHeader()->viewport());
  connect(cellDrops, &FileDropFilter::filesDropped, this, &FlexGrid::filesDropped);
  connect(headingDrops, &FileDropFilter::filesDropped, this, &FlexGrid::filesDropped);
}

void FlexGrid::ApplyRowHeight() {
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

// The height QTableView gives its heading row when it lays out, known before
// the grid is first shown.
int FlexGrid::HeaderHeightPixels() const {
  const QHeaderView* header = horizontalHeader();
  if (header->isHidden())
    return 0;
  return std::max(header->minimumHeight(), header->sizeHint().height());
}

void FlexGrid::OnHeaderPress(const QMouseEvent* event) {
  const int col = horizontalHeader()->logicalIndexAt(event->position().toPoint());
  if (col >= 0)
    col_ = col;
  EmitPress(event, 0);
}

void FlexGrid::EmitPress(const QMouseEvent* event, int yOffset) {
  const QPointF point = event->position();
  emit mouseDown(ButtonOf(event->button()), ModifiersOf(event->modifiers()),
                 PixelCentreTwips(point.x()), PixelCentreTwips(point.y() + yOffset));
  if (event->button() == Qt::LeftButton)
    emit clicked(col_);
}

void FlexGrid::EmitRelease(const QMouseEvent* event, int yOffset) {
  const QPointF point = event->position();
  emit mouseUp(ButtonOf(event->button()), ModifiersOf(event->modifiers()),
               PixelCentreTwips(point.x()), PixelCentreTwips(point.y() + yOffset));
}

void FlexGrid::CheckTopRow() {
  const int top = TopRow();
  if (top == lastTopRow_)
    return;
  lastTopRow_ = top;
  emit scrolled(top);
}

}  // namespace korimo
