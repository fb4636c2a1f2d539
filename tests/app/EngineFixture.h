#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HeadlessWindow.h"
#include "support/FormDriver.h"

namespace korimo::testing {

// A freshly started window without a screen, and a folder for its files.
class EngineTest : public ::testing::Test, protected FormDriver {
 protected:
  EngineTest() : FormDriver("engine"), window_(platform_) {}

  Form& form() override { return window_.form(); }
  const FormView& view() const override { return window_; }
  static std::vector<double> Same(int n, double d) { return std::vector<double>(n, d); }

  HeadlessWindow window_;
};

}  // namespace korimo::testing
