#include "ui/ChartMouse.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

#include "app/ChartCells.h"
#include "ui/ChartPage.h"
#include "ui/ChartPainter.h"
#include "ui/Form1.h"
#include "ui/MenuCommands.h"
#include "ui/PictureBox.h"

namespace korimo {

namespace {

constexpr int kRightButton = 2;
constexpr char kCtrlC = 3;

// The area boxes can be read and copied but not typed into.
class CopyOnlyFilter : public QObject {
 public:
  explicit CopyOnlyFilter(QObject* parent) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool typed = !key->text().isEmpty();
      // Only some platforms give Ctrl+C the control character as its text;
      // others give "c", so the copy shortcut is recognised as such too.
      const bool copy = key->matches(QKeySequence::Copy) || key->text() == QString(QChar(kCtrlC));
      if (typed && !copy)
        return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

ChartMouse::ChartMouse(Form1& window) : window_(window) {
  for (int c = 0; c < 2; ++c) {
    PictureBox* chart = &window_.PictPat(c);
    QObject::connect(
        chart, &PictureBox::mouseDown, chart,
        [this, c](int b, int s, float x, float y) { PictPat_MouseDown(c, b, s, x, y); });
    QObject::connect(
        chart, &PictureBox::mouseMove, chart,
        [this, c](int b, int s, float x, float y) { PictPat_MouseMove(c, b, s, x, y); });
    QObject::connect(chart, &PictureBox::mouseUp, chart,
                     [this, c](int b, int s, float x, float y) { PictPat_MouseUp(c, b, s, x, y); });
    QLineEdit* box = window_.chartPage().Lb_DeBox[c];
    box->installEventFilter(new CopyOnlyFilter(box));
  }
}

bool ChartMouse::DragInProgress(int c) const {
  const FormState& st = window_.form().state;
  return st.DragX0[c] != 0 || st.DragY0[c] != 0;
}

void ChartMouse::RepaintCell(int c, int patch) {
  const int lower = LowerSetOfChart(*window_.form().state.data, c);
  if (lower >= 0)
    window_.DrawPatchCell(c, lower, patch);
}

void ChartMouse::PictPat_MouseDown(int c, int /*button*/, int shift, float x, float y) {
  FormState& st = window_.form().state;
  st.DragX0 = {};
  st.DragY0 = {};
  if (shift <= 0)
    return;
  st.DragX0[c] = st.SelX[c][0] = static_cast<std::int16_t>(RoundPixel(x));
  st.DragY0[c] = st.SelY[c][0] = static_cast<std::int16_t>(RoundPixel(y));
  window_.MoveAreaBox(c, x, y, 2, 2);
  window_.SetAreaBoxVisible(c, true);
}

void ChartMouse::PictPat_MouseMove(int c, int /*button*/, int /*shift*/, float x, float y) {
  FormState& st = window_.form().state;
  if (st.data->PatchCount[0] == 0)
    return;
  if (DragInProgress(c)) {
    UpdateAreaSelection(st, window_, c, x, y);
  } else {
    ShowPatchInfo(c, x, y);
  }
}

void ChartMouse::ShowPatchInfo(int c, float x, float y) {
  FormState& st = window_.form().state;
  CellHit hit = HitTestCell(st.chart, RoundPixel(x), RoundPixel(y));
  // The empty tail of the last column holds no patch, and a chart whose file
  // is not loaded has nothing to show (its differences would be against
  // zeros): both count as outside every cell.
  if (hit.patch >= st.data->PatchCount[0] || LowerSetOfChart(*st.data, c) < 0)
    hit.patch = -1;
  if (hit.patch == -1) {
    RepaintCell(c, st.CurPatch[c]);
    return;
  }
  if (hit.patch != st.CurPatch[c])
    RepaintCell(c, st.CurPatch[c]);
  PaintHoverOutline(window_.PictPat(c), hit.x, hit.y, st.chart.CellSize);
  window_.SetCaption(Ctl::Lb_PDe, c, PatchInfoText(*st.data, c, hit.patch));
  st.CurPatch[c] = static_cast<std::int16_t>(hit.patch);
}

void ChartMouse::EndDrag(int c, float x, float y) {
  FormState& st = window_.form().state;
  st.SelX[c][1] = static_cast<std::int16_t>(RoundPixel(x));
  st.SelY[c][1] = static_cast<std::int16_t>(RoundPixel(y));
  st.DragX0[c] = 0;
  st.DragY0[c] = 0;
  const int m = MinimumFrameSize(st.chart.CellSize);
  if (window_.AreaBoxHeight(c) < m && window_.AreaBoxWidth(c) < m) {
    window_.SetAreaBoxVisible(c, false);
  }
}

void ChartMouse::RightClick(int c) {
  FormState& st = window_.form().state;
  st.MenuSource = 1;
  st.MenuIndex = static_cast<std::int16_t>(c);
  window_.SetMenuItemsEnabled(st.data->PatchCount[c + 1] >= 1);
  if (const auto item = window_.platform().PopupEditMenu(window_.MenuItemsEnabled())) {
    window_.menuCommands().Menu_EditSub_Click(*item);
  }
}

void ChartMouse::LeftClick(int c) {
  FormState& st = window_.form().state;
  window_.SetCaption(Ctl::Lb_FDe, c, window_.Caption(Ctl::Lb_PDe, c));
  const int old = st.PrevPatch[c];
  st.PrevPatch[c] = static_cast<std::int16_t>(st.CurPatch[c] + 1);
  if (old >= 1)
    RepaintCell(c, old - 1);
}

void ChartMouse::PictPat_MouseUp(int c, int button, int /*shift*/, float x, float y) {
  if (DragInProgress(c)) {
    EndDrag(c, x, y);
    return;
  }
  if (button == kRightButton) {
    RightClick(c);
  } else {
    LeftClick(c);
  }
  window_.SetAreaBoxVisible(c, false);
}

}  // namespace korimo
