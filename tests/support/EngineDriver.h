#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EngineState.h"
#include "app/FileSelection.h"
#include "app/Hooks.h"
#include "support/TestCharts.h"

namespace korimo::testing {

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

// A freshly started engine, a folder for its files and the messages it showed.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : dir_("engine") {
    hooks_.showMessage = [this](std::string_view text) { messages_.emplace_back(text); };
    hooks_.fileRead = [this](const FileRead& read) { reads_.push_back(read); };
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    WriteChart(dir_.File(name), patches, rowLength);
    return dir_.File(name);
  }
  // Chooses `path` for a set as its file button's open dialog would.
  void Choose(DataSet set, const std::string& path) { ChooseFile(state_, set, path, hooks_); }
  // A flat Reference and a File1 lying d[i] above it.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(DataSet::Reference, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(DataSet::File1, Chart("f1.txt", Offsets(d), rowLength));
  }
  static std::vector<double> Same(int n, double d) { return std::vector<double>(n, d); }

  const WindowRecord& record() const { return state_.record; }
  const ComparisonData& data() const { return state_.Data(); }

  TempDir dir_;
  EngineState state_{kTestSurfaces};
  EngineHooks hooks_;
  std::vector<std::string> messages_;
  std::vector<FileRead> reads_;
};

}  // namespace korimo::testing
