#pragma once

#include <string>

#include "app/FormView.h"
#include "app/Platform.h"

namespace korimo {

// "Copy" of one statistics row (index 0..3): the four figures as shown,
// tab-separated. The message comes first, the clipboard after it.
void But_Copy_Click(int index, const FormView& view, Platform& platform);

// "Copy" beside an area box (index 0..1): the four area figures as two
// tab-separated lines. The clipboard comes first, the message after it.
void But_CPArea_Click(int index, const FormView& view, Platform& platform);

// The clipboard text of an area box, or empty when it holds no figures.
std::string AreaCopyText(const std::string& boxText);

}  // namespace korimo
