#pragma once

#include <string>
#include <vector>

#include "app/Form.h"
#include "app/FormView.h"
#include "support/FakePlatform.h"
#include "support/TestCharts.h"

namespace korimo::testing {

// What every window test does to a window, headless or on screen: write
// charts into a scratch folder and choose them as a user would.
class FormDriver {
 protected:
  explicit FormDriver(const std::string& tag) : dir_(tag) {}
  virtual ~FormDriver() = default;

  virtual Form& form() = 0;
  virtual const FormView& view() const = 0;

  // Chooses `path` for a data set through its file button's open dialog.
  void Choose(int set, const std::string& path) {
    platform_.openAnswers.push_back(path);
    form().files.But_File_Click(set);
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    WriteChart(dir_.File(name), patches, rowLength);
    return dir_.File(name);
  }

  // A flat Reference and a File1 lying d[i] above it.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(1, Chart("f1.txt", Offsets(d), rowLength));
  }

  std::string Cap(Ctl c, int i = 0) const { return view().Caption(c, i); }
  FormState& state() { return form().state; }
  const ComparisonData& data() { return *form().state.data; }

  TempDir dir_;
  FakePlatform platform_;
};

}  // namespace korimo::testing
