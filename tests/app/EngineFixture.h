#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HeadlessWindow.h"
#include "support/FakePlatform.h"
#include "support/TestCharts.h"

namespace korimo::testing {

// A freshly started window without a screen, and a folder for its files.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : dir_("engine"), window_(platform_) {}

  // Chooses `path` for a data set through its file button.
  void Choose(int set, const std::string& path) {
    platform_.openAnswers.push_back(path);
    window_.form().files.But_File_Click(set);
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    const std::string path = dir_.File(name);
    WriteChart(path, patches, rowLength);
    return path;
  }

  // A flat Reference and a File1 whose dE*ab against it are `d`.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(1, Chart("f1.txt", Offsets(d)));
  }
  static std::vector<double> Same(int n, double d) { return std::vector<double>(n, d); }

  std::string Cap(Ctl c, int i = 0) const { return window_.Caption(c, i); }
  const ComparisonData& data() const { return *window_.state().data; }
  FormState& state() { return window_.form().state; }

  TempDir dir_;
  FakePlatform platform_;
  HeadlessWindow window_;
};

}  // namespace korimo::testing
