#pragma once

namespace korimo {

class Form1;

// The mouse on the patch charts: hover information, click selection, area
// drags with Shift, Ctrl or Alt, and the right-click menu.
class ChartMouse {
 public:
  explicit ChartMouse(Form1& window);

  void PictPat_MouseDown(int chart, int button, int shift, float x, float y);
  void PictPat_MouseMove(int chart, int button, int shift, float x, float y);
  void PictPat_MouseUp(int chart, int button, int shift, float x, float y);
  void ShowPatchInfo(int chart, float x, float y);

 private:
  void RepaintCell(int chart, int patch);
  bool DragInProgress(int chart) const;
  void EndDrag(int chart, float x, float y);
  void RightClick(int chart);
  void LeftClick(int chart);

  Form1& window_;
};

}  // namespace korimo
