// The window's own costs with full-size charts: a chart redraw, one hover
// event and the load of all three files with every view refreshed. Runs on
// the offscreen platform, so no display is needed.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>

#include <array>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchFiles.h"
#include "QuietPlatform.h"
#include "app/FormState.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;

const BenchFiles& Files() {
  static const BenchFiles files("window-bench");
  return files;
}

// A shown main window, as the user has it, with nothing loaded yet.
struct BenchWindow {
  BenchWindow() : window(std::make_unique<Form1>(platform)) {
    platform.files = Files().paths;
    window->show();
  }
  void LoadAll() {
    for (int s = 0; s < 3; ++s)
      window->form().files.But_File_Click(s);
    if (window->form().state.data->PatchCount[2] != kPatches)
      throw std::runtime_error("the benchmark files did not load as 3000 patches");
  }

  QuietPlatform platform;
  std::unique_ptr<Form1> window;
};

void BM_DrawChart3000(benchmark::State& state) {
  BenchWindow w;
  w.LoadAll();
  for (auto _ : state) {
    w.window->DrawChart(1);
    benchmark::DoNotOptimize(w.window->PictPat(0).Image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_DrawChart3000)->Unit(benchmark::kMillisecond);

// The pointer moving between two cells: each event repaints the cell left,
// outlines the new one and rewrites the information label.
void BM_HoverEvent(benchmark::State& state) {
  BenchWindow w;
  w.LoadAll();
  PictureBox& chart = w.window->PictPat(0);
  const ChartGeometry& g = w.window->form().state.chart;
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
  }
  if (w.window->form().state.CurPatch[0] == 0)
    throw std::runtime_error("the hover events did not reach the chart");
}
BENCHMARK(BM_HoverEvent)->Unit(benchmark::kMicrosecond);

// Reference, File1 and File2 chosen in turn on a fresh window: every read,
// comparison, chart, histogram and grid refresh the three loads run.
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
