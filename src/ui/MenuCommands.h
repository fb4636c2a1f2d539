#pragma once

#include <string>

namespace korimo {

class Form1;

// The Edit pop-up menu's two items, "コピー" and "保  存", for whatever opened
// it: a chart, a histogram or the grid.
class MenuCommands {
 public:
  explicit MenuCommands(Form1& window);

  void PictG_MouseUp(int pair, int button, int shift, float x, float y);
  void Menu_EditSub_Click(int item);
  // Copies the cell area of chart c into PictSv.
  void CaptureChart(int chart);

 private:
  void Histogram(int pair, int item);
  void Chart(int chart, int item);
  void Grid(int item);
  void Finished();
  bool ReportFailure(const std::string& path, const std::string& error);

  Form1& window_;
};

}  // namespace korimo
