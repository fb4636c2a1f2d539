#pragma once

#include <array>
#include <string>

#include "app/Indices.h"
#include "app/WindowRecord.h"
#include "core/Measurement.h"

namespace korimo {

// "File1: 読み込めません（L*a*b*・XYZ・分光データの列がありません）"
std::string ReadFailureLine(DataSet set, const FailureReason& reason);

// Where a file's L*a*b* came from, for the path label's tooltip: for CGATS
// when not from its LAB columns, "L*a*b*: 分光反射率から計算（D50・2°・10 nm）";
// for CxF3 always, "CxF3・L*a*b*" or "CxF3・分光反射率から計算（…）", with the
// ColorSpecification used on a second line. Empty for failed reads.
std::string SourceNote(const Measurement& set);

// Both files declare an illuminant, observer or condition, and declare
// different ones: M1 data against M0 data fails for no fault of the print.
bool ConditionsDiffer(const Measurement& reference, const Measurement& sample);

// "基準–File1: 測定条件 M1≠M0"; empty when the conditions do not differ.
std::string ConditionLine(Pair pair, const Measurement& reference, const Measurement& sample);

// The two lines of the tab-row strip and their tooltips. With no refused
// file, line p holds what concerns pair p; a refused file's line comes
// first and the rest share the second line.
struct StripTexts {
  std::array<std::string, 2> lines;
  std::array<std::string, 2> tips;
};
StripTexts ComposeStrip(const WindowRecord& record);

}  // namespace korimo
