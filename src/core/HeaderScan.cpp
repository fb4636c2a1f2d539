#include "core/HeaderScan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "core/Common.h"
#include "core/TextFields.h"

namespace korimo {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool IsAlnum(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
    t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
    t.remove_suffix(1);
  return t;
}

// Where `word` stands in `upper` as a whole word, or npos.
std::size_t FindWord(std::string_view upper, std::string_view word) {
  for (std::size_t at = upper.find(word); at != std::string_view::npos;
       at = upper.find(word, at + 1)) {
    const bool before = at == 0 || !IsAlnum(upper[at - 1]);
    const std::size_t end = at + word.size();
    const bool after = end == upper.size() || !IsAlnum(upper[end]);
    if (before && after)
      return at;
  }
  return std::string_view::npos;
}

// The value of a KEY=value item inside a keyword's value (instrument makers
// put several there), up to the next blank, tab, comma, semicolon or quote.
std::string_view KeyedValue(std::string_view upper, std::string_view key) {
  for (std::size_t at = upper.find(key); at != std::string_view::npos;
       at = upper.find(key, at + 1)) {
    if (at != 0 && IsAlnum(upper[at - 1]))
      continue;
    std::string_view rest = upper.substr(at + key.size());
    const std::size_t end = rest.find_first_of(" \t,;\"");
    return rest.substr(0, end);
  }
  return {};
}

// D50 or D65 when the text names one as a whole word; else the text itself
// names another illuminant.
std::string IlluminantName(std::string_view upper) {
  for (const std::string_view name : {"D50", "D65"}) {
    if (FindWord(upper, name) != std::string_view::npos)
      return std::string(name);
  }
  return std::string(Trim(upper));
}

// The observer in a text: the number 2 or 10 standing alone ("10",
// "CIE 2 degree", "2.0", "10degree"), never digits inside a longer number or
// a name; with `unitNeeded`, only when "DEGREE" or "°" follows.
Observer AngleIn(std::string_view upper, bool unitNeeded) {
  for (std::size_t i = 0; i < upper.size(); ++i) {
    if (!IsDigit(upper[i]) || (i > 0 && (IsAlnum(upper[i - 1]) || upper[i - 1] == '.')))
      continue;
    std::size_t end = i;
    while (end < upper.size() && IsDigit(upper[end]))
      ++end;
    int value = 0;
    std::from_chars(upper.data() + i, upper.data() + end, value);
    std::size_t after = end;
    if (after + 1 < upper.size() && upper[after] == '.' && IsDigit(upper[after + 1])) {
      while (++after < upper.size() && upper[after] == '0') {
      }
      if (after < upper.size() && IsDigit(upper[after]))
        value = 0;  // 2.5 is no observer
      while (after < upper.size() && IsDigit(upper[after]))
        ++after;
    }
    const std::string_view rest = Trim(upper.substr(after));
    const bool unit = rest.starts_with("DEG") || rest.starts_with("\xC2\xB0");
    if (unitNeeded && !unit) {
      i = end;
      continue;
    }
    if (value == 2)
      return Observer::Deg2;
    if (value == 10)
      return Observer::Deg10;
    i = end;
  }
  return Observer::Unknown;
}

Condition ConditionNamed(std::string_view upper) {
  static constexpr std::array<std::string_view, 4> kNames = {"M0", "M1", "M2", "M3"};
  for (std::size_t c = 0; c < kNames.size(); ++c) {
    if (upper.starts_with(kNames[c]) && (upper.size() == 2 || !IsAlnum(upper[2])))
      return static_cast<Condition>(c + 1);
  }
  return Condition::Unknown;
}

Condition ConditionWord(std::string_view upper) {
  static constexpr std::array<std::string_view, 4> kNames = {"M0", "M1", "M2", "M3"};
  for (std::size_t c = 0; c < kNames.size(); ++c) {
    if (FindWord(upper, kNames[c]) != std::string_view::npos)
      return static_cast<Condition>(c + 1);
  }
  return Condition::Unknown;
}

// "ILLUMINANT, D50" (also "ILLUMINANT. D50", a tab after the separator): the
// text after the separator, when the value starts with `head`.
std::string_view AfterHead(std::string_view upper, std::string_view head) {
  if (!upper.starts_with(head) || upper.size() == head.size())
    return {};
  const char separator = upper[head.size()];
  if (separator != ',' && separator != '.')
    return {};
  return Trim(upper.substr(head.size() + 1));
}

// Counts the known column names of one line and notes their field numbers.
struct LineColumns {
  ExtraColumns columns;
  std::array<int, 4> cmyk{};
  std::array<int, 3> rgb{};
  int names = 0;
  int pendingNm = 0;  // a SPECTRAL_NM waiting for its SPECTRAL_DEC
};

void Note(LineColumns& line, std::string_view name, int number) {
  static constexpr std::array<std::string_view, 3> kXyz = {"XYZ_X", "XYZ_Y", "XYZ_Z"};
  static constexpr std::array<std::string_view, 4> kCmyk = {"CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"};
  static constexpr std::array<std::string_view, 3> kRgb = {"RGB_R", "RGB_G", "RGB_B"};
  static constexpr std::array<std::string_view, 7> kOthers = {
      "LAB_L", "LAB_A", "LAB_B", "SAMPLE_NAME", "SAMPLENAME", "SAMPLE_ID", "SAMPLEID"};
  ExtraColumns& c = line.columns;
  const int pending = std::exchange(line.pendingNm, 0);
  auto match = [&](auto& names, auto& slots) {
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (EqualsUpperAscii(name, names[k])) {
        slots[k] = number;
        return true;
      }
    }
    return false;
  };
  bool known = match(kXyz, c.xyz) || match(kCmyk, line.cmyk) || match(kRgb, line.rgb);
  if (!known && EqualsUpperAscii(name, "SPECTRAL_NM")) {
    line.pendingNm = number;
    known = true;
  } else if (!known && EqualsUpperAscii(name, "SPECTRAL_DEC") && pending != 0) {
    c.bands.push_back({0, number, pending});
    known = true;
  } else if (!known) {
    if (const int nm = BandWavelength(name); nm != 0) {
      c.bands.push_back({nm, number, 0});
      known = true;
    }
  }
  for (std::size_t k = 0; !known && k < kOthers.size(); ++k) {
    if (EqualsUpperAscii(name, kOthers[k])) {
      known = true;
      if (k == 3 || k == 4)
        c.sampleName = number;
      if (k == 5 || k == 6)
        c.sampleId = number;
    }
  }
  if (known)
    ++line.names;
}

}  // namespace

int BandWavelength(std::string_view name) {
  // Longest first, so SPECTRAL_NM_380 is not read as SPECTRAL_ + "NM_380".
  static constexpr std::array<std::string_view, 7> kPrefixes = {
      "SPECTRAL_NM_", "SPECTRAL_NM", "SPECTRAL_", "SPEC_", "NM_", "NM", "R_"};
  const std::string upper = Upper(name.substr(0, 16));
  for (const std::string_view prefix : kPrefixes) {
    if (!std::string_view(upper).starts_with(prefix))
      continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 4 || !std::all_of(digits.begin(), digits.end(), IsDigit))
      return 0;
    int nm = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), nm);
    return nm >= 300 && nm <= 1100 ? nm : 0;
  }
  return 0;
}

namespace {

constexpr std::string_view kRowLengthKeyword = "LGOROWLENGTH";

// The LAB search's names, and whether one of them names field `number`.
bool NoteLab(LabColumns& lab, std::string_view name, int number) {
  if (EqualsUpperAscii(name, "LAB_L"))
    lab.l = number;
  else if (EqualsUpperAscii(name, "LAB_A"))
    lab.a = number;
  else if (EqualsUpperAscii(name, "LAB_B"))
    lab.b = number;
  else if (EqualsUpperAscii(name, "SAMPLENAME") || EqualsUpperAscii(name, "SAMPLE_NAME"))
    lab.name = number;
  else if (EqualsUpperAscii(name, "SAMPLEID") || EqualsUpperAscii(name, "SAMPLE_ID"))
    lab.sampleId = number;
  else
    return false;
  return true;
}

// Whether `text` holds `lower` in any case; `lower` is lower-case ASCII.
bool ContainsNoCase(std::string_view text, std::string_view lower) {
  if (text.size() < lower.size())
    return false;
  for (std::size_t i = 0; i + lower.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < lower.size() && (text[i + k] | 0x20) == lower[k])
      ++k;
    if (k == lower.size())
      return true;
  }
  return false;
}

}  // namespace

void HeaderScan::Feed(std::string_view line) {
  // No field-name or keyword line is this long; a file without line breaks
  // is not split for more than the LAB search.
  constexpr std::size_t kLongestLine = 64 * 1024;
  const bool extra = line.size() <= kLongestLine;
  ScanColumns(line, extra);
  if (extra)
    ScanKeyword(line);
}

bool HeaderScan::FeedData(std::string_view line) {
  if (LabSearchDone())
    return false;
  // Data lines seldom name columns; only a line that could is split.
  if (!line.starts_with(kRowLengthKeyword) && !ContainsNoCase(line, "lab_") &&
      !ContainsNoCase(line, "sample"))
    return false;
  const LabColumns before = lab_;
  ScanColumns(line, false);
  return !(lab_ == before);
}

void HeaderScan::ScanColumns(std::string_view line, bool extra) {
  const bool searching = !LabSearchDone();
  if (searching && line.starts_with(kRowLengthKeyword))
    rowLength_ = ParseInteger(line.substr(kRowLengthKeyword.size()));
  LineColumns found;
  bool labWalk = searching;
  std::size_t pos = 1;
  // The LAB search examines at least the first field, even of an empty line.
  for (int number = 1; labWalk || (extra && pos <= line.size()); ++number) {
    if (!labWalk && number > 1 && pos > line.size())
      break;
    const std::string_view name = NextField(line, pos);
    if (extra)
      Note(found, name, number);
    if (labWalk) {
      NoteLab(lab_, name, number);
      labWalk = !lab_.AllLab() && pos < line.size();
    }
    if (!extra && !labWalk)
      break;
  }
  if (!extra || found.names <= bestNames_)
    return;
  ExtraColumns& c = found.columns;
  if (std::all_of(found.cmyk.begin(), found.cmyk.end(), [](int n) { return n != 0; })) {
    c.deviceSpace = DeviceSpace::Cmyk;
    c.device = found.cmyk;
  } else if (std::all_of(found.rgb.begin(), found.rgb.end(), [](int n) { return n != 0; })) {
    c.deviceSpace = DeviceSpace::Rgb;
    c.device = {found.rgb[0], found.rgb[1], found.rgb[2], 0};
  }
  best_ = std::move(c);
  bestNames_ = found.names;
}

void HeaderScan::ScanKeyword(std::string_view line) {
  const std::size_t split = line.find_first_of(" \t");
  if (split == std::string_view::npos)
    return;
  const std::string keyword = Upper(line.substr(0, split));
  const std::string value = Upper(Trim(StripQuotes(Trim(line.substr(split)))));
  auto once = [](std::string& slot, std::string name) {
    if (slot.empty())
      slot = std::move(name);
  };
  auto onceAngle = [](Observer& slot, Observer angle) {
    if (slot == Observer::Unknown)
      slot = angle;
  };
  if (keyword == "WEIGHTING_FUNCTION") {
    if (const std::string_view name = AfterHead(value, "ILLUMINANT"); !name.empty())
      once(illuminant_[0], IlluminantName(name));
    if (const std::string_view angle = AfterHead(value, "OBSERVER"); !angle.empty())
      onceAngle(observer_[0], AngleIn(angle, false));
  } else if (keyword == "ILLUMINANT" && !value.empty()) {
    once(illuminant_[1], IlluminantName(value));
  } else if (keyword == "ILLUMINATION_NAME" && !value.empty()) {
    once(illuminant_[2], IlluminantName(value));
  } else if (keyword == "OBSERVER") {
    onceAngle(observer_[1], AngleIn(value, false));
  } else if (keyword == "OBSERVER_ANGLE") {
    onceAngle(observer_[2], AngleIn(value, false));
  } else if (keyword == "MEASUREMENT_SOURCE") {
    // A plain value names the instrument's lamp, not the illuminant.
    if (const std::string_view name = KeyedValue(value, "ILLUMINATION="); !name.empty())
      once(illuminant_[3], IlluminantName(name));
    onceAngle(observer_[3], AngleIn(KeyedValue(value, "OBSERVERANGLE="), false));
  } else if (keyword == "INSTRUMENTATION") {
    for (const std::string_view name : {"D50", "D65"}) {
      if (FindWord(value, name) != std::string_view::npos)
        once(illuminant_[4], std::string(name));
    }
    onceAngle(observer_[4], AngleIn(value, true));
  }
  if (keyedCondition_ == Condition::Unknown) {
    keyedCondition_ = ConditionNamed(KeyedValue(value, "MEASUREMENTCONDITION="));
    if (keyedCondition_ == Condition::Unknown)
      keyedCondition_ = ConditionNamed(KeyedValue(value, "MEASUREMENT_CONDITION="));
  }
  if (wordCondition_ == Condition::Unknown &&
      (keyword == "MEASUREMENT_CONDITION" || keyword == "FILTER" ||
       keyword == "MEASUREMENT_GEOMETRY" || keyword == "INSTRUMENTATION")) {
    wordCondition_ = ConditionWord(value);
  }
}

Declarations HeaderScan::Declared() const {
  Declarations d;
  for (const std::string& name : illuminant_) {
    if (name.empty())
      continue;
    if (name == "D50")
      d.illuminant = Illuminant::D50;
    else if (name == "D65")
      d.illuminant = Illuminant::D65;
    else
      d.otherIlluminant = name;
    break;
  }
  for (const Observer angle : observer_) {
    if (angle != Observer::Unknown) {
      d.observer = angle;
      break;
    }
  }
  d.condition = keyedCondition_ != Condition::Unknown ? keyedCondition_ : wordCondition_;
  return d;
}

}  // namespace korimo
