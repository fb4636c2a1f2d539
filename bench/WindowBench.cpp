// The window's own costs with full-size charts and three files of 3000
// patches: a chart redraw, a slider change, one hover event and the load of
// all three files with every view refreshed. Runs on the offscreen platform,
// so no display is needed.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>
#include <stdexcept>
#include <string>

#include "BenchFiles.h"
#include "QuietDialogs.h"
#include "QuietPlatform.h"
#include "app/FileSelection.h"
#include "app/PatchChart.h"
#include "app/Render.h"
#include "ui/ChartPage.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/VerificationPage.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;

const BenchFiles& Files() {
  static const BenchFiles files("window-bench");
  return files;
}

// A shown main window, as the user has it, with nothing loaded yet.
struct BenchWindow {
  BenchWindow() : window(std::make_unique<Form1>(platform, dialogs)) {
    dialogs.files = Files().paths;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
      throw std::runtime_error("the window was not shown");
  }
  // The three file buttons pressed in turn, as the user chooses the files.
  void LoadAll() {
    for (DataSet s : kAllSets)
      QTest::mouseClick(&window->But_File(s), Qt::LeftButton);
    if (window->state().Current().Count(DataSet::File2) != kPatches)
      throw std::runtime_error("the benchmark files did not load as 3000 patches");
    QApplication::processEvents();
  }

  QuietPlatform platform;
  QuietDialogs dialogs;
  std::unique_ptr<Form1> window;
};

// One chart drawn by the engine and painted by its box on screen.
void BM_DrawChart3000(benchmark::State& state) {
  BenchWindow w;
  EngineState engine(w.window->state().surfaces);
  for (DataSet s : kAllSets) {
    ChooseFile(engine, s, Files().paths[Index(s)], {});
    Render(engine);
  }
  Raster& picture = engine.pictures.PictPat[0];
  const ChartScene scene{engine.Current(), engine.Chart(), Pair::ReferenceFile1, DataSet::File1,
                         engine.ui.mouse[0].PrevPatch};
  PictureBox box;
  box.SetOuterSizePixels(engine.surfaces.chartWidth, engine.surfaces.chartHeight);
  box.SetPicture(&picture);
  box.show();
  for (auto _ : state) {
    picture.Clear();
    PaintChart(scene, picture);
    box.Refresh();
    box.repaint();
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_DrawChart3000)->Unit(benchmark::kMillisecond);

// The Under slider moved by one step: new thresholds and percentages, both
// charts and both histograms redrawn, the window brought up to date and
// painted.
void BM_SliderChange(benchmark::State& state) {
  BenchWindow w;
  w.LoadAll();
  QSlider* slider = w.window->chartPage().SldBest;
  int i = 0;
  for (auto _ : state) {
    slider->setValue(3 + (i++ & 1));
    QApplication::processEvents();
  }
}
BENCHMARK(BM_SliderChange)->Unit(benchmark::kMillisecond);

// The Over check box clicked: both charts redrawn with or without their
// marks, and painted.
void BM_CheckBoxRedrawsBothCharts(benchmark::State& state) {
  BenchWindow w;
  w.LoadAll();
  QCheckBox* box = w.window->chartPage().ChkWorst;
  for (auto _ : state) {
    box->click();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_CheckBoxRedrawsBothCharts)->Unit(benchmark::kMillisecond);

// A criteria set chosen on the verification page, alternating between the
// first two built-in sets: the whole verification made again and shown.
void BM_ChooseCriteriaSet(benchmark::State& state) {
  BenchWindow w;
  w.LoadAll();
  QComboBox* choice = w.window->verificationPage().setChoice;
  int i = 0;
  for (auto _ : state) {
    const int index = 1 + (i++ & 1);
    choice->setCurrentIndex(index);
    emit choice->activated(index);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ChooseCriteriaSet)->Unit(benchmark::kMillisecond);

// The pointer moving between two cells: each event repaints the cell left,
// outlines the new one and rewrites the information label; with `paint`
// the chart is painted after every event too.
void Hover(benchmark::State& state, bool paint) {
  BenchWindow w;
  w.LoadAll();
  PictureBox& chart = w.window->PictPat(Pair::ReferenceFile1);
  const ChartGeometry& g = w.window->state().ui.chart;
  if (g.CellSize == 0)
    throw std::runtime_error("the chart was not laid out");
  const int border = chart.BorderWidth();
  const int half = g.CellSize / 2;
  const QPointF cells[2] = {QPointF(g.CellX(3, 5) + half + border, g.CellY(3, 5) + half + border),
                            QPointF(g.CellX(4, 5) + half + border, g.CellY(4, 5) + half + border)};
  int i = 0;
  for (auto _ : state) {
    const QPointF at = cells[i++ & 1];
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    if (paint)
      QApplication::processEvents();
  }
  if (w.window->state().ui.mouse[0].CurPatch == 0)
    throw std::runtime_error("the hover events did not reach the chart");
}

void BM_HoverEvent(benchmark::State& state) {
  Hover(state, false);
}
BENCHMARK(BM_HoverEvent)->Unit(benchmark::kMicrosecond);

void BM_HoverEventAndPaint(benchmark::State& state) {
  Hover(state, true);
}
BENCHMARK(BM_HoverEventAndPaint)->Unit(benchmark::kMicrosecond);

// Reference, File1 and File2 chosen in turn on a fresh window: every read,
// comparison, chart, histogram and grid refresh the three loads run, and
// the paint that follows.
void BM_LoadThreeFiles(benchmark::State& state) {
  Files();
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<BenchWindow>();
    state.ResumeTiming();
    w->LoadAll();
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadThreeFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korimo::bench

int main(int argc, char** argv) {
  // Before the application object exists, or it looks for a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
