#pragma once

#include <QFrame>
#include <array>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSlider;

namespace korimo {

class AreaBox;
class CaptionLabel;
class PictureBox;

// The "画像" page: both patch charts with their information labels, area
// boxes and copy buttons, and the threshold panel between them. The texts
// the engine writes are left empty here; the window fills them in.
class ChartPage : public QFrame {
  Q_OBJECT

 public:
  explicit ChartPage(QWidget* parent);

  std::array<PictureBox*, 2> PictPat{};
  std::array<QFrame*, 2> Sh_Box{};
  std::array<CaptionLabel*, 2> Lb_PDe{};
  std::array<CaptionLabel*, 2> Lb_FDe{};
  std::array<AreaBox*, 2> Lb_DeBox{};
  std::array<QPushButton*, 2> But_CPArea{};
  std::array<QRadioButton*, 2> Opt_de{};
  QCheckBox* ChkBest = nullptr;
  QCheckBox* ChkWorst = nullptr;
  QSlider* SldBest = nullptr;
  QSlider* SldWorst = nullptr;
  std::array<CaptionLabel*, 2> Lb_UPar{};
  std::array<CaptionLabel*, 2> Lb_OPar{};

 private:
  void BuildChart(int chart, int left, int labelLeft, int copyLeft);
  void BuildThresholdPanel();
  QSlider* Slider(int top, int position);
  CaptionLabel* PercentLabel(int pair, int top, const QSlider& slider);
};

}  // namespace korimo
