#include "ui/GridController.h"

#include <algorithm>
#include <cmath>

#include "app/GridRows.h"
#include "color/ColorConvert.h"
#include "core/TextFields.h"
#include "export/ResultsExport.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"
#include "ui/MenuCommands.h"
#include "ui/PictureBox.h"

namespace korimo {

namespace {
constexpr int kRightButton = 2;
}

GridController::GridController(Form1& window) : window_(window) {
  FlexGrid* grid = window_.dataPage().FlexG;
  QObject::connect(grid, &FlexGrid::mouseDown, grid,
                   [this](int b, int s, float x, float y) { FlexG_MouseDown(b, s, x, y); });
  QObject::connect(grid, &FlexGrid::clicked, grid, [this] { FlexG_Click(); });
  QObject::connect(grid, &FlexGrid::mouseUp, grid,
                   [this](int b, int s, float x, float y) { FlexG_MouseUp(b, s, x, y); });
  QObject::connect(grid, &FlexGrid::scrolled, grid, [this] { FlexG_Scroll(); });
  const auto headings = InitialGridHeadings();
  for (int c = 0; c < kGridCols; ++c)
    grid->SetText(0, c, headings[c]);
}

void GridController::FillGrid() {
  const FormState& st = window_.form().state;
  auto rows = BuildGridRows(*st.data, st.GridSortKey);
  if (!rows)
    return;
  window_.dataPage().FlexG->SetDataRows(std::move(*rows));
  FlexG_Scroll();
}

void GridController::FlexG_MouseDown(int /*button*/, int /*shift*/, float /*x*/, float y) {
  FormState& st = window_.form().state;
  st.GridHeaderDown = y <= window_.dataPage().FlexG->RowHeightTwips(0);
}

void GridController::FlexG_Click() {
  FormState& st = window_.form().state;
  FlexGrid* grid = window_.dataPage().FlexG;
  if (!st.GridHeaderDown) {
    grid->SetCol(0);
    grid->SetColSel(kGridCols - 1);
    return;
  }
  st.GridHeaderDown = false;
  std::array<std::string, kGridCols> headings;
  for (int c = 0; c < kGridCols; ++c)
    headings[c] = grid->Text(0, c);
  ApplyHeadingClick(st.GridSortKey, headings, grid->Col());
  for (int c = 0; c < kGridCols; ++c)
    grid->SetText(0, c, headings[c]);
  FillGrid();
}

void GridController::FlexG_MouseUp(int button, int /*shift*/, float /*x*/, float /*y*/) {
  if (button != kRightButton)
    return;
  FormState& st = window_.form().state;
  window_.SetMenuItemsEnabled(st.data->PatchCount[1] >= 1 || st.data->PatchCount[2] >= 1);
  st.MenuSource = 3;
  st.MenuIndex = 0;
  if (const auto item = window_.platform().PopupEditMenu(window_.MenuItemsEnabled())) {
    window_.menuCommands().Menu_EditSub_Click(*item);
  }
}

void GridController::FlexG_Scroll() {
  const FormState& st = window_.form().state;
  FlexGrid* grid = window_.dataPage().FlexG;
  PictureBox& strip = window_.PictD();
  if (st.GridVisibleRows <= 0)
    return;
  const int top = grid->TopRow();
  const int w = strip.ScaleWidth();
  const int h = static_cast<int>(
      std::nearbyint(static_cast<double>(strip.ScaleHeight()) / st.GridVisibleRows));
  const int count = std::min<int>(ShownPatchCount(*st.data), st.GridVisibleRows);
  for (int g = 0; g < count; ++g) {
    const int row = top + g;
    if (row >= grid->Rows())
      break;  // the grid shows fewer rows than fit
    const double L = ParseSingle(grid->Text(row, 2));
    const double a = ParseSingle(grid->Text(row, 3));
    const double b = ParseSingle(grid->Text(row, 4));
    strip.FillRect(0, h * g, w - 1, h * g + h - 1, LabToRgb(L, a, b));
  }
}

void GridController::But_DataR_Click() {
  const std::array<std::string, 3> paths = {window_.Caption(Ctl::Lb_File, 0),
                                            window_.Caption(Ctl::Lb_File, 1),
                                            window_.Caption(Ctl::Lb_File, 2)};
  korimo::But_DataR_Click(window_.platform(), paths, window_.dataPage().FlexG->Model()->DataRows());
}

std::string GridController::GridText() const {
  const FlexGrid* grid = window_.dataPage().FlexG;
  std::string text;
  for (int r = 0; r < grid->Rows(); ++r) {
    for (int c = 0; c < kGridCols; ++c) {
      if (c > 0)
        text += '\t';
      text += grid->Text(r, c);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace korimo
