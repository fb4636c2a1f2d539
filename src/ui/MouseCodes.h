#pragma once

#include <Qt>

namespace korimo {

// Button and modifier codes as the window's mouse handlers expect them:
// left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4, summed.
inline int ButtonCode(Qt::MouseButtons buttons) {
  int code = 0;
  if (buttons & Qt::LeftButton)
    code |= 1;
  if (buttons & Qt::RightButton)
    code |= 2;
  if (buttons & Qt::MiddleButton)
    code |= 4;
  return code;
}

inline int ShiftCode(Qt::KeyboardModifiers modifiers) {
  int code = 0;
  if (modifiers & Qt::ShiftModifier)
    code |= 1;
  if (modifiers & Qt::ControlModifier)
    code |= 2;
  if (modifiers & Qt::AltModifier)
    code |= 4;
  return code;
}

}  // namespace korimo
