#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/Hooks.h"
#include "app/Render.h"
#include "core/MeasurementReader.h"
#include "support/TestCharts.h"

namespace korimo::testing {

using Strings = std::vector<std::string>;

// The window's picture sizes: design charts and histograms, and a swatch
// strip of 21 x 480 pixels beside 24 visible grid rows.
inline constexpr Surfaces kTestSurfaces{kDesignChartSide,
                                        kDesignChartSide,
                                        kDesignHistogramWidth,
                                        kDesignHistogramHeight,
                                        21,
                                        480,
                                        24,
                                        true};

// A freshly started engine, a folder for its files and the messages it
// showed. Every event is rendered once it is handled, as the window does.
class Engine {
 public:
  Engine() : dir_("engine") {
    hooks_.showMessage = [this](std::string_view text) { messages_.emplace_back(text); };
  }

  // One event: the procedure, then the rendering.
  template <class F, class... A>
  auto Do(F procedure, A&&... args) {
    struct Rendered {
      EngineState& state;
      ~Rendered() { Render(state); }
    } after{state_};
    return procedure(state_, std::forward<A>(args)...);
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    return dir_.Chart(name, patches, rowLength);
  }
  // Answers reads of `path` with `read` from now on and loads it into `set`.
  void Load(DataSet set, const std::string& path, MeasurementPtr read) {
    served_[path] = std::move(read);
    hooks_.read = [this](DataSet, const std::string& file) {
      const auto known = served_.find(file);
      return known != served_.end() ? known->second
                                    : std::make_shared<Measurement>(ReadMeasurementFile(file));
    };
    Choose(set, path);
  }
  void Load(const std::array<MeasurementPtr, 3>& reads) {
    for (DataSet set : kAllSets)
      Load(set, std::to_string(Index(set)), reads[Index(set)]);
  }
  // Chooses `path` for a set as its file button's open dialog would.
  void Choose(DataSet set, const std::string& path) { Do(ChooseFile, set, path, hooks_); }
  // A flat Reference and a File1 lying d[i] above it.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(DataSet::Reference, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(DataSet::File1, Chart("f1.txt", Offsets(d), rowLength));
  }
  static std::vector<double> Same(int n, double d) {
    return std::vector<double>(static_cast<std::size_t>(n), d);
  }

  const WindowRecord& record() const { return state_.record; }
  const Comparison& comparison() const { return state_.Current(); }

  TempDir dir_;
  EngineState state_{kTestSurfaces};
  EngineHooks hooks_;
  std::vector<std::string> messages_;
  std::map<std::string, MeasurementPtr> served_;
};

class EngineTest : public ::testing::Test, public Engine {};

}  // namespace korimo::testing
