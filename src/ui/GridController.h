#pragma once

#include <array>
#include <string>

namespace korimo {

class Form1;

// The results grid's behaviour: refilling, heading-click sorting, whole-row
// selection, the swatch strip and the right-click menu.
class GridController {
 public:
  explicit GridController(Form1& window);

  void FillGrid();
  void FlexG_MouseDown(int button, int shift, float x, float y);
  void FlexG_Click();
  void FlexG_MouseUp(int button, int shift, float x, float y);
  void FlexG_Scroll();
  void But_DataR_Click();
  // Every row from the heading row down, tab-separated, CR LF after each.
  std::string GridText() const;

 private:
  Form1& window_;
};

}  // namespace korimo
