#include "app/ReadNotes.h"

#include <string_view>
#include <vector>

#include "app/Pairing.h"

namespace korimo {

namespace {

constexpr std::array<std::string_view, 3> kSetNames = {"基準", "File1", "File2"};
constexpr std::string_view kStripSeparator = "　";

std::string_view IlluminantText(Illuminant illuminant) {
  return illuminant == Illuminant::D65 ? "D65" : "D50";
}

std::string_view ObserverText(Observer observer) {
  return observer == Observer::Deg10 ? "10°" : "2°";
}

// Declared by both and different.
template <typename T>
bool Differ(T reference, T sample) {
  return reference != T::Unknown && sample != T::Unknown && reference != sample;
}

void Append(std::string& text, std::string_view part) {
  if (part.empty())
    return;
  if (!text.empty())
    text += kStripSeparator;
  text += part;
}

void AppendTip(std::string& text, std::string_view part) {
  if (part.empty())
    return;
  if (!text.empty())
    text += "\n";
  text += part;
}

}  // namespace

std::string ReadFailureLine(DataSet set, const FailureReason& reason) {
  return std::string(kSetNames[Index(set)]) + ": 読み込めません（" + JapaneseReason(reason) + "）";
}

namespace {

// The CGATS texts name only a computation; a CxF3 file is named for every
// source, since its format is not seen in its name.
std::string ComputedFrom(const Measurement& set) {
  // What was computed with: undeclared conditions are taken as D50, 2°.
  const std::string conditions =
      std::string(IlluminantText(set.illuminant)) + "・" + std::string(ObserverText(set.observer));
  switch (set.source) {
    case LabSource::Xyz:
      return "XYZから計算（" + conditions + "）";
    case LabSource::Spectral:
      return "分光反射率から計算（" + conditions + "・" + std::to_string(set.spectralStepNm) +
             " nm）";
    case LabSource::Lab:
      return "L*a*b*";
    case LabSource::None:
      break;
  }
  return {};
}

// The one ColorSpecification a CxF3 file was read under, with its
// measurement condition when it states one.
std::string SpecificationLine(const Measurement& set) {
  if (set.colorSpecification.empty())
    return {};
  const std::string_view condition = ConditionName(set.condition);
  return "\n測定仕様: " + set.colorSpecification +
         (condition.empty() ? std::string() : "（" + std::string(condition) + "）");
}

}  // namespace

std::string SourceNote(const Measurement& set) {
  if (set.source == LabSource::None)
    return {};
  if (set.format == FileFormat::Cxf3)
    return "CxF3・" + ComputedFrom(set) + SpecificationLine(set);
  if (set.source == LabSource::Lab)
    return {};
  return "L*a*b*: " + ComputedFrom(set);
}

bool ConditionsDiffer(const Measurement& reference, const Measurement& sample) {
  return Differ(reference.illuminant, sample.illuminant) ||
         Differ(reference.observer, sample.observer) ||
         Differ(reference.condition, sample.condition);
}

std::string ConditionLine(Pair pair, const Measurement& reference, const Measurement& sample) {
  std::string text;
  auto part = [&text](std::string_view caption, std::string_view ref, std::string_view other) {
    text += " " + std::string(caption) + " " + std::string(ref) + "≠" + std::string(other);
  };
  if (Differ(reference.illuminant, sample.illuminant))
    part("光源", IlluminantText(reference.illuminant), IlluminantText(sample.illuminant));
  if (Differ(reference.observer, sample.observer))
    part("観察者", ObserverText(reference.observer), ObserverText(sample.observer));
  if (Differ(reference.condition, sample.condition))
    part("測定条件", ConditionName(reference.condition), ConditionName(sample.condition));
  if (text.empty())
    return {};
  return std::string(PairName(pair)) + ":" + text;
}

StripTexts ComposeStrip(const WindowRecord& r) {
  StripTexts strip;
  const bool refused =
      !r.Lb_ReadFailure[0].empty() || !r.Lb_ReadFailure[1].empty() || !r.Lb_ReadFailure[2].empty();
  if (!refused) {
    for (std::size_t p = 0; p < 2; ++p) {
      Append(strip.lines[p], r.Lb_Pairing[p]);
      Append(strip.lines[p], r.Lb_Conditions[p]);
      AppendTip(strip.tips[p], r.Lb_PairingTip[p]);
    }
    return strip;
  }
  std::vector<std::string_view> lines(r.Lb_ReadFailure.begin(), r.Lb_ReadFailure.end());
  for (std::size_t p = 0; p < 2; ++p) {
    lines.push_back(r.Lb_Pairing[p]);
    lines.push_back(r.Lb_Conditions[p]);
    AppendTip(strip.tips[1], r.Lb_PairingTip[p]);
  }
  std::size_t slot = 0;
  for (const std::string_view line : lines) {
    if (line.empty())
      continue;
    Append(strip.lines[slot], line);
    slot = 1;
  }
  return strip;
}

}  // namespace korimo
