#include "ui/MenuCommands.h"

#include "core/Encoding.h"
#include "export/HistogramTable.h"
#include "export/ResultsExport.h"
#include "ui/Form1.h"
#include "ui/GridController.h"
#include "ui/PictureBox.h"

namespace korimo {

namespace {

constexpr int kRightButton = 2;
constexpr int kCopy = 0;
constexpr int kSave = 1;
constexpr int kSpentBufferTwips = 20;

}  // namespace

MenuCommands::MenuCommands(Form1& window) : window_(window) {
  for (int p = 0; p < 2; ++p) {
    PictureBox* histogram = &window_.PictG(p);
    QObject::connect(histogram, &PictureBox::mouseUp, histogram,
                     [this, p](int b, int s, float x, float y) { PictG_MouseUp(p, b, s, x, y); });
  }
}

void MenuCommands::PictG_MouseUp(int pair, int button, int /*shift*/, float /*x*/, float /*y*/) {
  if (button != kRightButton)
    return;
  FormState& st = window_.form().state;
  window_.SetMenuItemsEnabled(st.data->PatchCount[pair + 1] >= 1);
  st.MenuSource = 2;
  st.MenuIndex = static_cast<std::int16_t>(pair);
  if (const auto item = window_.platform().PopupEditMenu(window_.MenuItemsEnabled())) {
    Menu_EditSub_Click(*item);
  }
}

void MenuCommands::Menu_EditSub_Click(int item) {
  if (item != kCopy && item != kSave)
    return;
  const FormState& st = window_.form().state;
  switch (st.MenuSource) {
    case 1:
      Chart(st.MenuIndex, item);
      break;
    case 2:
      Histogram(st.MenuIndex, item);
      break;
    case 3:
      Grid(item);
      break;
    default:
      break;
  }
}

void MenuCommands::Finished() {
  window_.PictSv().SetSizeTwips(kSpentBufferTwips, kSpentBufferTwips);
}

// A save that fails is reported; the user would otherwise believe it done.
bool MenuCommands::ReportFailure(const std::string& path, const std::string& error) {
  if (error.empty())
    return false;
  window_.platform().ShowMessage(WriteFailureMessage(path, error));
  return true;
}

void MenuCommands::Histogram(int pair, int item) {
  Platform& platform = window_.platform();
  const FormState& st = window_.form().state;
  const bool deAb = window_.MetricIsDeAb();
  const std::string table = HistogramTable(st.HistCount[pair], st.HistValue[pair], deAb);
  if (item == kCopy) {
    platform.ClipboardClear();
    platform.ClipboardSetBitmapAndText(window_.PictG(pair).ToBitmap(), table);
  } else {
    const auto chosen = platform.SaveFileDialog(kBitmapFilter);
    if (!chosen)
      return;
    const std::string bitmapName = HistogramBitmapName(*chosen, deAb);
    if (!ReportFailure(bitmapName,
                       platform.SaveBitmap(window_.PictG(pair).ToBitmap(), bitmapName).error)) {
      const std::string tableName = HistogramTableName(bitmapName);
      ReportFailure(tableName, platform.WriteFile(tableName, Utf8ToCp932(table + "\r\n")).error);
    }
  }
  Finished();
}

void MenuCommands::CaptureChart(int chart) {
  const ChartGeometry& g = window_.form().state.chart;
  PictureBox& buffer = window_.PictSv();
  PictureBox& source = window_.PictPat(chart);
  buffer.Clear();
  buffer.SetOuterSizePixels(g.ChartCols * g.CellSize, g.ChartRows * g.CellSize);
  const int x0 = g.CellX(0, 0);
  const int y0 = g.CellY(0, 0);
  buffer.hide();
  for (int j = 0; j < buffer.ScaleHeight(); ++j) {
    for (int i = 0; i < buffer.ScaleWidth(); ++i)
      buffer.SetPixel(i, j, source.Pixel(x0 + i, y0 + j));
  }
  buffer.show();
}

void MenuCommands::Chart(int chart, int item) {
  Platform& platform = window_.platform();
  if (window_.form().state.data->PatchCount[0] == 0)
    return;
  if (item == kCopy) {
    platform.ClipboardClear();
    CaptureChart(chart);
    platform.ClipboardSetBitmap(window_.PictSv().ToBitmap());
  } else {
    const auto chosen = platform.SaveFileDialog(kBitmapFilter);
    if (!chosen)
      return;
    const std::string name = BitmapFileName(*chosen);
    CaptureChart(chart);
    ReportFailure(name, platform.SaveBitmap(window_.PictSv().ToBitmap(), name).error);
  }
  Finished();
}

void MenuCommands::Grid(int item) {
  if (item == kCopy) {
    Platform& platform = window_.platform();
    const std::string text = window_.gridController().GridText();
    platform.ClipboardClear();
    platform.ClipboardSetText(text);
  } else {
    window_.gridController().But_DataR_Click();
  }
  Finished();
}

}  // namespace korimo
