#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchFiles.h"
#include "QuietDialogs.h"
#include "QuietPlatform.h"
#include "ui/FlexGrid.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"

namespace korimo::bench {
namespace {

constexpr int kPatches = BenchFiles::kPatches;
constexpr int kDe00Column = 9;

// Measurement files made once per run and removed at exit: a synthetic
// chart with two drifted re-measurements, and a re-measurement whose
// differences take only five values, so that sorting meets ties everywhere.
class GridBenchFiles : public BenchFiles {
 public:
  GridBenchFiles() : BenchFiles("grid-bench"), flat(Path("flat.txt")), ties(Path("ties.txt")) {
    WriteLightness(flat, [](int) { return 50.0; });
    WriteLightness(ties, [](int i) { return 50.0 + 0.5 * (1 + (i * 7) % 5); });
  }

  std::string flat;
  std::string ties;

 private:
  template <typename Lightness>
  static void WriteLightness(const std::string& path, Lightness lightness) {
    std::ofstream out(path, std::ios::binary);
    out << "CGATS.17\r\nBEGIN_DATA_FORMAT\r\nSAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\r\n"
           "END_DATA_FORMAT\r\nBEGIN_DATA\r\n";
    for (int i = 0; i < kPatches; ++i)
      out << i + 1 << "\tT" << i + 1 << '\t' << lightness(i) << "\t0\t0\r\n";
    out << "END_DATA\r\n";
  }
};

const GridBenchFiles& Files() {
  static const GridBenchFiles files;
  return files;
}

// The main window shown offscreen on its data page with the given files
// loaded in turn.
class ShownWindow {
 public:
  explicit ShownWindow(const std::array<std::string, 3>& files) : window_(platform_, dialogs_) {
    dialogs_.files = files;
    window_.show();
    window_.TabStrip1().setCurrentIndex(1);
    for (DataSet s : kAllSets) {
      if (!files[Index(s)].empty())
        QTest::mouseClick(&window_.But_File(s), Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    if (Grid()->Rows() != kPatches + 1)
      throw std::runtime_error("the benchmark files did not fill the grid");
  }

  Form1& window() { return window_; }
  FlexGrid* Grid() { return &window_.FlexG(); }

  // A left click on the centre of a column heading, as the user makes it.
  void ClickHeading(int col) {
    QHeaderView* header = Grid()->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
  }

 private:
  QuietPlatform platform_;
  QuietDialogs dialogs_;
  Form1 window_;
};

// What the window adds to a refill of all 3000 rows: the model reset, the
// grid's layout and its repaint.
void BM_GridModelReset3000(benchmark::State& state) {
  ShownWindow shown(Files().paths);
  WindowRecord record = shown.window().state().record;
  GridModel* model = shown.Grid()->Model();
  model->SetRecord(&record);
  for (auto _ : state) {
    ++record.FlexG.revision;
    model->Refresh();
    QCoreApplication::processEvents();
  }
  model->SetRecord(&shown.window().state().record);
  state.SetItemsProcessed(state.iterations() * kPatches);
}
BENCHMARK(BM_GridModelReset3000)->Unit(benchmark::kMillisecond);

// One click on the "⊿E00" heading; the direction alternates between
// iterations, each click sorting and refilling 3000 rows.
void HeadingSort(benchmark::State& state, const std::array<std::string, 3>& files) {
  ShownWindow shown(files);
  for (auto _ : state) {
    shown.ClickHeading(kDe00Column);
    QCoreApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * kPatches);
}

void BM_SortByDe00(benchmark::State& state) {
  HeadingSort(state, Files().paths);
}
BENCHMARK(BM_SortByDe00)->Unit(benchmark::kMillisecond);

void BM_SortByDe00ManyTies(benchmark::State& state) {
  HeadingSort(state, {Files().flat, Files().ties, ""});
}
BENCHMARK(BM_SortByDe00ManyTies)->Unit(benchmark::kMillisecond);

// Paging from the first row to the last, one screenful per step, as a user
// holding Page Down does; every step repaints the swatch strip.
void BM_ScrollThrough3000(benchmark::State& state) {
  ShownWindow shown(Files().paths);
  FlexGrid* grid = shown.Grid();
  const int step = shown.window().state().surfaces.gridVisibleRows;
  int steps = 0;
  for (auto _ : state) {
    steps = 0;
    for (int row = 1; row < grid->Rows(); row += step) {
      grid->ScrollToRow(row);
      QCoreApplication::processEvents();
      ++steps;
    }
    grid->ScrollToRow(1);
  }
  state.counters["steps"] = steps;
  state.counters["seconds_per_step"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScrollThrough3000)->Unit(benchmark::kMillisecond);

// The same pages reached through the scroll bar, as dragging its thumb or
// the mouse wheel does; ScrollToRow lays the rows out first.
void BM_ScrollBarThrough3000(benchmark::State& state) {
  ShownWindow shown(Files().paths);
  FlexGrid* grid = shown.Grid();
  QScrollBar* bar = grid->verticalScrollBar();
  const int step = shown.window().state().surfaces.gridVisibleRows;
  int steps = 0;
  for (auto _ : state) {
    steps = 0;
    for (int value = 0; value <= bar->maximum(); value += step) {
      bar->setValue(value);
      QCoreApplication::processEvents();
      ++steps;
    }
    bar->setValue(0);
  }
  state.counters["steps"] = steps;
  state.counters["seconds_per_step"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScrollBarThrough3000)->Unit(benchmark::kMillisecond);

// One row down and back in the middle of the list: each step repaints the
// swatch strip and the grid.
void BM_ScrollOneRow(benchmark::State& state) {
  ShownWindow shown(Files().paths);
  FlexGrid* grid = shown.Grid();
  int i = 0;
  for (auto _ : state) {
    grid->ScrollToRow(1500 + (i++ & 1));
    QCoreApplication::processEvents();
  }
  if (shown.window().state().ui.gridTopRow < 1500)
    throw std::runtime_error("the grid did not scroll");
}
BENCHMARK(BM_ScrollOneRow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korimo::bench

int main(int argc, char** argv) {
  // The window is measured without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
