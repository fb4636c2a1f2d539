#pragma once

#include "app/FileSelection.h"
#include "app/FormState.h"
#include "app/FormView.h"
#include "app/LoadDriver.h"
#include "app/Platform.h"
#include "app/ThresholdPanel.h"

namespace korimo {

// The window's state and its non-drawing procedures, wired together once.
// A window (Qt or headless) owns one and passes itself as the view; nothing
// here touches the view before the window is fully built.
class Form {
 public:
  Form(FormView& view, Platform& platform)
      : thresholds(state, view),
        driver(state, view, platform, thresholds),
        files(view, platform, driver) {}

  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  FormState state;
  ThresholdPanel thresholds;
  LoadDriver driver;
  FileSelection files;
};

}  // namespace korimo
