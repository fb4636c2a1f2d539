#include "core/Cxf3Reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "color/Colorimetry.h"
#include "core/Encoding.h"
#include "core/LabFromColorimetry.h"
#include "core/MeasurementReader.h"
#include "core/TextFields.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

constexpr std::string_view kCxf3Namespace = "http://colorexchangeformat.com/CxF3-core";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// A declaration is the first thing in a file; one this far in is none.
constexpr std::size_t kDeclarationReach = 4096;
// How much of a name or value from the file a reason quotes.
constexpr std::size_t kShownBytes = 64;

bool IsXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimXml(std::string_view t) {
  while (!t.empty() && IsXmlSpace(t.front()))
    t.remove_prefix(1);
  while (!t.empty() && IsXmlSpace(t.back()))
    t.remove_suffix(1);
  return t;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

// Text from the file as a reason quotes it: valid UTF-8, whole characters,
// short enough for one line.
std::string Shown(std::string_view text) {
  const std::string valid = ToValidUtf8(text);
  if (valid.size() <= kShownBytes)
    return valid;
  std::size_t end = 0;
  while (end + Utf8CharacterSpan(std::string_view(valid).substr(end)) <= kShownBytes)
    end += Utf8CharacterSpan(std::string_view(valid).substr(end));
  return valid.substr(0, end) + "…";
}

FailureReason Refusal(ReadFailure code, std::string detail = {}) {
  return {code, std::move(detail)};
}

// ---------------------------------------------------------------------------
// Text encodings. Everything is handed to the parser as UTF-8, so that its
// positions are positions in one known text.

enum class Charset { Utf8, Utf16Le, Utf16Be, Latin1 };

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::size_t Utf8Length(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Calls emit for every character of UTF-16 text; an unpaired surrogate or a
// final odd byte is U+FFFD.
template <typename Emit>
void DecodeUtf16(std::string_view bytes, bool little, Emit emit) {
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t next = unit(i + 2);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        emit(0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
        continue;
      }
    }
    emit(u >= 0xD800 && u <= 0xDFFF ? char32_t{0xFFFD} : u);
  }
  if (i < bytes.size())
    emit(char32_t{0xFFFD});
}

std::string ToUtf8(std::string_view bytes, Charset charset) {
  std::string out;
  if (charset == Charset::Utf8) {
    out.assign(bytes);
  } else if (charset == Charset::Latin1) {
    out.reserve(bytes.size() + static_cast<std::size_t>(std::count_if(
                                   bytes.begin(), bytes.end(), [](char c) { return c < 0; })));
    for (const char c : bytes)
      AppendUtf8(out, static_cast<unsigned char>(c));
  } else {
    // Sized first: growing by doubling would hold two copies of a large file.
    std::size_t size = 0;
    DecodeUtf16(bytes, charset == Charset::Utf16Le, [&](char32_t c) { size += Utf8Length(c); });
    out.reserve(size);
    DecodeUtf16(bytes, charset == Charset::Utf16Le, [&](char32_t c) { AppendUtf8(out, c); });
  }
  return out;
}

// The encoding an XML declaration at the start of 8-bit text names; empty
// when there is none.
std::string_view DeclaredEncoding(std::string_view text) {
  text = TrimXml(text.substr(0, kDeclarationReach));
  if (!text.starts_with("<?xml") || text.size() < 6 || !IsXmlSpace(text[5]))
    return {};
  const std::size_t end = text.find("?>");
  if (end == std::string_view::npos)
    return {};
  const std::string_view declaration = text.substr(0, end);
  const std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos)
    return {};
  std::string_view rest = TrimXml(declaration.substr(at + 8));
  if (!rest.starts_with('='))
    return {};
  rest = TrimXml(rest.substr(1));
  if (rest.empty() || (rest.front() != '"' && rest.front() != '\''))
    return {};
  const std::size_t close = rest.find(rest.front(), 1);
  return close == std::string_view::npos ? std::string_view() : rest.substr(1, close - 1);
}

struct Decoded {
  std::string text;  // UTF-8, without a byte-order mark
  FailureReason failure;
};

// A byte-order mark decides; without one, UTF-16 shows in its first
// character, and 8-bit text is what its declaration names. A declaration of
// UTF-16 over 8-bit text is a writer's mislabel of UTF-8 (the bytes cannot
// be UTF-16 when the first character is one byte).
Decoded Decode(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom))
    return {ToUtf8(bytes.substr(kUtf8Bom.size()), Charset::Utf8), {}};
  if (bytes.starts_with("\xFF\xFE"))
    return {ToUtf8(bytes.substr(2), Charset::Utf16Le), {}};
  if (bytes.starts_with("\xFE\xFF"))
    return {ToUtf8(bytes.substr(2), Charset::Utf16Be), {}};
  if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0')
    return {ToUtf8(bytes, Charset::Utf16Le), {}};
  if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<')
    return {ToUtf8(bytes, Charset::Utf16Be), {}};
  const std::string_view name = DeclaredEncoding(bytes);
  for (const std::string_view utf8 :
       {"", "UTF-8", "UTF8", "US-ASCII", "ASCII", "UTF-16", "UTF-16LE", "UTF-16BE"}) {
    if (EqualsIgnoringCase(name, utf8))
      return {ToUtf8(bytes, Charset::Utf8), {}};
  }
  for (const std::string_view latin1 : {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1"}) {
    if (EqualsIgnoringCase(name, latin1))
      return {ToUtf8(bytes, Charset::Latin1), {}};
  }
  return {{}, Refusal(ReadFailure::XmlEncoding, Shown(name))};
}

// "line:column" of a byte offset: lines end at LF, CR LF or CR, columns count
// characters from 1.
std::string Position(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    const char c = text[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
      ++line;
      column = 1;
    } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

// ---------------------------------------------------------------------------
// The parser's memory. pugixml takes every block through these while a read
// is under way, so no file can make a read hold more than its budget.

thread_local std::size_t* t_budgetLeft = nullptr;
constexpr std::size_t kBlockHeader = alignof(std::max_align_t);

void* BudgetedAllocate(std::size_t size) {
  std::size_t* const left = t_budgetLeft;
  if (size > std::numeric_limits<std::size_t>::max() - kBlockHeader ||
      (left != nullptr && size > *left))
    return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kBlockHeader));
  if (block == nullptr)
    return nullptr;
  if (left != nullptr)
    *left -= size;
  std::memcpy(block, &size, sizeof size);
  return block + kBlockHeader;
}

void BudgetedFree(void* pointer) {
  if (pointer == nullptr)
    return;
  unsigned char* const block = static_cast<unsigned char*>(pointer) - kBlockHeader;
  std::size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  if (t_budgetLeft != nullptr)
    *t_budgetLeft += size;
  std::free(block);
}

// Outlives the document parsed under it.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t bytes) : left_(bytes) {
    static const bool installed = [] {
      pugi::set_memory_management_functions(BudgetedAllocate, BudgetedFree);
      return true;
    }();
    (void)installed;
    t_budgetLeft = &left_;
  }
  ~MemoryBudget() { t_budgetLeft = nullptr; }
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

 private:
  std::size_t left_;
};

// ---------------------------------------------------------------------------
// Elements in the CxF3 namespace, whatever prefix a file gives it. The walk
// goes down from the root to a fixed depth, resolving prefixes as it goes,
// so each element's attributes are read once per walk, however deep or wide
// the file.

std::string_view LocalName(std::string_view qualified) {
  const std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string_view Prefix(std::string_view qualified) {
  const std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
}

class Scope {
 public:
  Scope(const Scope* parent, pugi::xml_node element) : parent_(parent) {
    for (const pugi::xml_attribute attribute : element.attributes()) {
      const std::string_view name = attribute.name();
      if (name == "xmlns")
        declared_.emplace_back(std::string_view(), attribute.value());
      else if (name.starts_with("xmlns:"))
        declared_.emplace_back(name.substr(6), attribute.value());
    }
    std::stable_sort(declared_.begin(), declared_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }

  // The namespace bound to a prefix; "" is the default namespace, which is
  // none until declared.
  std::optional<std::string_view> Resolve(std::string_view prefix) const {
    for (const Scope* s = this; s != nullptr; s = s->parent_) {
      const auto it =
          std::lower_bound(s->declared_.begin(), s->declared_.end(), prefix,
                           [](const auto& d, std::string_view p) { return d.first < p; });
      if (it != s->declared_.end() && it->first == prefix)
        return it->second;
    }
    if (prefix.empty())
      return std::string_view();
    return std::nullopt;
  }

 private:
  const Scope* parent_;
  std::vector<std::pair<std::string_view, std::string_view>> declared_;
};

struct Element {
  Element(const Element* parent, pugi::xml_node n)
      : node(n), scope(parent != nullptr ? &parent->scope : nullptr, n) {}

  bool InCxf3() const { return scope.Resolve(Prefix(node.name())) == kCxf3Namespace; }
  std::string_view Attribute(const char* name) const { return node.attribute(name).value(); }
  std::optional<std::string_view> OptionalAttribute(const char* name) const {
    const pugi::xml_attribute a = node.attribute(name);
    return a ? std::optional<std::string_view>(a.value()) : std::nullopt;
  }
  std::string_view Text() const { return node.text().get(); }

  pugi::xml_node node;
  Scope scope;
};

// Calls f for each child element named `local` in the CxF3 namespace, in
// document order, until f returns false.
template <typename F>
void ForEachChild(const Element& parent, std::string_view local, F&& f) {
  for (pugi::xml_node n = parent.node.first_child(); n; n = n.next_sibling()) {
    if (n.type() != pugi::node_element || LocalName(n.name()) != local)
      continue;
    const Element child(&parent, n);
    if (child.InCxf3() && !f(child))
      return;
  }
}

std::optional<Element> FirstChild(const Element& parent, std::string_view local) {
  for (pugi::xml_node n = parent.node.first_child(); n; n = n.next_sibling()) {
    if (n.type() != pugi::node_element || LocalName(n.name()) != local)
      continue;
    Element child(&parent, n);
    if (child.InCxf3())
      return child;
  }
  return std::nullopt;
}

std::optional<std::string_view> ChildText(const Element& parent, std::string_view local) {
  const std::optional<Element> child = FirstChild(parent, local);
  return child ? std::optional<std::string_view>(child->Text()) : std::nullopt;
}

// ---------------------------------------------------------------------------
// What one Object says, as texts into the parsed document.

// In the order the reader prefers them, as for CGATS.
enum class Kind { Lab, Xyz, Spectrum };
constexpr std::array<std::string_view, 3> kKindElement = {"ColorCIELab", "ColorCIEXYZ",
                                                          "ReflectanceSpectrum"};
constexpr std::array<std::array<std::string_view, 3>, 2> kKindParts = {
    {{"L", "A", "B"}, {"X", "Y", "Z"}}};

using Text = std::optional<std::string_view>;  // nullopt: the element is absent

struct ColourValue {
  Kind kind = Kind::Lab;
  Text reference;               // its ColorSpecification
  std::array<Text, 3> parts{};  // L A B or X Y Z
  std::string_view spectrum;    // the values of a spectrum
  Text startWl;                 // the spectrum's own
};

constexpr std::array<std::string_view, 4> kCmykParts = {"Cyan", "Magenta", "Yellow", "Black"};
constexpr std::array<std::string_view, 3> kRgbParts = {"R", "G", "B"};

struct DeviceTexts {
  std::optional<std::array<Text, 4>> cmyk;
  std::optional<std::array<Text, 3>> rgb;
  Text maxRange;           // ColorRGB/MaxRange
  std::string_view owner;  // the object that holds them, as reasons name it
};

// Where a patch sits on the chart, from TagCollection tags.
struct Location {
  std::string_view page, row, column;
  bool stated = false;
};

struct ObjectFacts {
  std::string_view name;   // Object@Name, trimmed
  std::string_view label;  // the name, else the Id: what reasons call the object
  DeviceTexts device;
  Location location;
};

struct ObjectView {
  ObjectFacts facts;
  bool colour = false;  // carries ColorValues
  bool device = false;  // carries DeviceColorValues
  std::vector<ColourValue> values;
};

void ReadDevice(const Element& values, DeviceTexts& out) {
  if (const std::optional<Element> cmyk = FirstChild(values, "ColorCMYK")) {
    out.cmyk.emplace();
    for (std::size_t c = 0; c < kCmykParts.size(); ++c)
      (*out.cmyk)[c] = ChildText(*cmyk, kCmykParts[c]);
  }
  if (const std::optional<Element> rgb = FirstChild(values, "ColorRGB")) {
    out.rgb.emplace();
    for (std::size_t c = 0; c < kRgbParts.size(); ++c)
      (*out.rgb)[c] = ChildText(*rgb, kRgbParts[c]);
    out.maxRange = ChildText(*rgb, "MaxRange");
  }
}

void ReadLocation(const Element& object, Location& out) {
  ForEachChild(object, "TagCollection", [&](const Element& tags) {
    ForEachChild(tags, "Tag", [&](const Element& tag) {
      const std::string_view name = TrimXml(tag.Attribute("Name"));
      const std::string_view value = TrimXml(tag.Attribute("Value"));
      for (auto [key, slot] : {std::pair{"Page", &out.page}, std::pair{"Row", &out.row},
                               std::pair{"Column", &out.column}}) {
        if (EqualsIgnoringCase(name, key)) {
          *slot = value;
          out.stated = true;
        }
      }
      return true;
    });
    return true;
  });
}

void ReadObject(const Element& object, ObjectView& out) {
  out.values.clear();
  out.facts = {};
  out.facts.name = TrimXml(object.Attribute("Name"));
  out.facts.label = out.facts.name.empty() ? TrimXml(object.Attribute("Id")) : out.facts.name;
  out.colour = false;
  out.device = false;
  ForEachChild(object, "ColorValues", [&](const Element& values) {
    out.colour = true;
    for (pugi::xml_node n = values.node.first_child(); n; n = n.next_sibling()) {
      if (n.type() != pugi::node_element)
        continue;
      const auto kind = std::find(kKindElement.begin(), kKindElement.end(), LocalName(n.name()));
      if (kind == kKindElement.end())
        continue;
      const Element value(&values, n);
      if (!value.InCxf3())
        continue;
      ColourValue v;
      v.kind = static_cast<Kind>(kind - kKindElement.begin());
      v.reference = value.OptionalAttribute("ColorSpecification");
      if (v.kind == Kind::Spectrum) {
        v.spectrum = value.Text();
        v.startWl = value.OptionalAttribute("StartWL");
      } else {
        const auto& parts = kKindParts[static_cast<std::size_t>(v.kind)];
        for (std::size_t c = 0; c < parts.size(); ++c)
          v.parts[c] = ChildText(value, parts[c]);
      }
      out.values.push_back(v);
    }
    return true;
  });
  if (const std::optional<Element> device = FirstChild(object, "DeviceColorValues")) {
    out.device = true;
    ReadDevice(*device, out.facts.device);
    out.facts.device.owner = out.facts.label;
  }
  ReadLocation(object, out.facts.location);
}

template <typename F>
void ForEachObject(const Element& collection, F&& f) {
  ObjectView view;
  ForEachChild(collection, "Object", [&](const Element& object) {
    ReadObject(object, view);
    return f(view);
  });
}

// ---------------------------------------------------------------------------
// ColorSpecification elements: how the values were measured and computed.

struct Conditions {
  std::string_view id;
  std::string_view illuminant;  // TristimulusSpec texts, trimmed; empty when absent
  std::string_view observer;
  Condition condition = Condition::Unknown;
  Text startWl;  // WavelengthRange
  Text increment;
};

Condition ConditionNamed(std::string_view text) {
  text = TrimXml(text);
  for (const auto& [name, condition] :
       {std::pair{"M0", Condition::M0}, std::pair{"M1", Condition::M1},
        std::pair{"M2", Condition::M2}, std::pair{"M3", Condition::M3}}) {
    if (text.starts_with(name) && (text.size() == 2 || text[2] == '_'))
      return condition;
  }
  return Condition::Unknown;
}

Conditions ReadConditions(const Element& setting) {
  Conditions s;
  s.id = setting.Attribute("Id");
  if (const std::optional<Element> tristimulus = FirstChild(setting, "TristimulusSpec")) {
    s.illuminant = TrimXml(ChildText(*tristimulus, "Illuminant").value_or(""));
    s.observer = TrimXml(ChildText(*tristimulus, "Observer").value_or(""));
  }
  const std::optional<Element> measurement = FirstChild(setting, "MeasurementSpec");
  if (measurement) {
    if (const std::optional<Element> device = FirstChild(*measurement, "Device"))
      s.condition = ConditionNamed(ChildText(*device, "DeviceIllumination").value_or(""));
  }
  std::optional<Element> range = FirstChild(setting, "WavelengthRange");
  if (!range && measurement)
    range = FirstChild(*measurement, "WavelengthRange");
  if (range) {
    s.startWl = range->OptionalAttribute("StartWL");
    s.increment = range->OptionalAttribute("Increment");
  }
  return s;
}

// ---------------------------------------------------------------------------
// Numbers.

// A value as the CGATS reader stores its cells, XML white space around it
// allowed.
std::optional<float> ParseValue(std::string_view text) {
  return ParseFloat(TrimXml(text));
}

// Wavelengths and intervals: whole nanometres.
std::optional<int> ParseNanometres(std::string_view text) {
  const std::optional<float> value = ParseValue(text);
  if (!value || *value != std::round(*value) || std::fabs(*value) > 100000.0F)
    return std::nullopt;
  return static_cast<int>(*value);
}

std::string NumberWhere(std::string_view owner, std::string_view element, Text text) {
  return Shown(owner) + "/" + std::string(element) + ": \"" + Shown(text.value_or("")) + "\"";
}

// ---------------------------------------------------------------------------
// The read.

struct Patch {
  ObjectFacts facts;
  std::array<std::optional<ColourValue>, 3> value;  // per Kind, under the chosen ColorSpecification
};

// A patch's link to its device-value object: its location, else its name.
struct LinkKey {
  bool byName = false;
  std::string_view a, b, c;
  auto operator<=>(const LinkKey&) const = default;
};

struct KeyLess {
  bool operator()(const std::pair<LinkKey, std::size_t>& a, const LinkKey& b) const {
    return a.first < b;
  }
  bool operator()(const LinkKey& a, const std::pair<LinkKey, std::size_t>& b) const {
    return a < b.first;
  }
};

LinkKey KeyOf(const ObjectFacts& facts) {
  if (facts.location.stated)
    return {false, facts.location.page, facts.location.row, facts.location.column};
  return {true, facts.name, {}, {}};
}

class Cxf3Read {
 public:
  Cxf3Read(const Element& root, const std::function<void(std::string_view)>& notice)
      : root_(root), notice_(notice) {}

  FailureReason Run(Measurement& m);

 private:
  FailureReason IndexSpecifications(const Element& resources);
  FailureReason ChooseSpecification(const Element& objects);
  void CollectPatches(const Element& objects, Measurement& m);
  FailureReason LinkDevices(const Element& objects, bool cut);
  FailureReason StoreDevices(Measurement& m) const;
  FailureReason StoreColour(Measurement& m) const;
  FailureReason SpectralLab(const Conditions& setting, StdIlluminant illuminant,
                            StdObserver observer, Measurement& m) const;

  const Element& root_;
  const std::function<void(std::string_view)>& notice_;
  // Every ColorSpecification by Id, the first of an Id first, with its place
  // in the document.
  std::vector<std::pair<std::string_view, std::uint32_t>> settingIndex_;
  std::optional<Element> settingCollection_;
  Conditions chosen_;  // id empty and chosenUnreferenced_: values without a reference
  bool chosenUnreferenced_ = false;
  bool anyDeviceOnly_ = false;
  bool mixedObjects_ = false;  // some object holds values of two ColorSpecifications
  std::vector<Patch> patches_;
  std::vector<std::optional<DeviceTexts>> linked_;  // per patch, from its device-value object
};

FailureReason Cxf3Read::IndexSpecifications(const Element& resources) {
  settingCollection_ = FirstChild(resources, "ColorSpecificationCollection");
  if (!settingCollection_)
    return {};
  std::uint32_t place = 0;
  ForEachChild(*settingCollection_, "ColorSpecification", [&](const Element& setting) {
    settingIndex_.emplace_back(setting.Attribute("Id"), place++);
    return true;
  });
  std::stable_sort(settingIndex_.begin(), settingIndex_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return {};
}

// One ColorSpecification serves the whole file: the M1 one when there is one,
// else the first in document order; values that name none come last.
FailureReason Cxf3Read::ChooseSpecification(const Element& objects) {
  std::vector<bool> referenced(settingIndex_.size());
  bool anyColour = false;
  FailureReason failure;
  ForEachObject(objects, [&](const ObjectView& object) {
    anyColour = anyColour || object.colour;
    anyDeviceOnly_ = anyDeviceOnly_ || (object.device && !object.colour);
    for (const ColourValue& value : object.values) {
      mixedObjects_ = mixedObjects_ || value.reference != object.values.front().reference;
      if (!value.reference)
        continue;
      const auto it =
          std::lower_bound(settingIndex_.begin(), settingIndex_.end(), *value.reference,
                           [](const auto& entry, std::string_view id) { return entry.first < id; });
      if (it == settingIndex_.end() || it->first != *value.reference) {
        failure = Refusal(ReadFailure::DanglingReference, Shown(*value.reference));
        return false;
      }
      referenced[it->second] = true;
    }
    return true;
  });
  if (failure.code != ReadFailure::None)
    return failure;
  if (!anyColour)
    return Refusal(ReadFailure::NoColourObjects);
  std::optional<Conditions> first;
  std::optional<Conditions> m1;
  if (settingCollection_) {
    std::uint32_t place = 0;
    ForEachChild(*settingCollection_, "ColorSpecification", [&](const Element& setting) {
      if (!referenced[place++])
        return true;
      Conditions s = ReadConditions(setting);
      if (!first)
        first = s;
      if (s.condition == Condition::M1)
        m1 = s;
      return !m1;
    });
  }
  if (m1 || first) {
    chosen_ = m1 ? *m1 : *first;
  } else {
    // Colour values without a reference, or only empty ColorValues: the
    // kind check names the object.
    chosenUnreferenced_ = true;
  }
  return {};
}

void Cxf3Read::CollectPatches(const Element& objects, Measurement& m) {
  ForEachObject(objects, [&](const ObjectView& object) {
    if (!object.colour)
      return true;
    Patch patch;
    bool any = false;
    for (const ColourValue& value : object.values) {
      const bool under = chosenUnreferenced_ ? !value.reference : value.reference == chosen_.id;
      auto& slot = patch.value[static_cast<std::size_t>(value.kind)];
      if (under && !slot) {
        slot = value;
        any = true;
      }
    }
    // Where each object holds one ColorSpecification's values, objects of
    // other conditions are other measurements of the same patches. Where
    // objects hold several, each is a patch, and one without the chosen
    // ColorSpecification's values lacks them.
    if (!any && !object.values.empty() && !mixedObjects_)
      return true;
    if (patches_.size() == static_cast<std::size_t>(kMaxPatches)) {
      m.cutAt3000 = true;
      if (notice_)
        notice_(kTooManyPatchesMessage);
      return false;
    }
    patch.facts = object.facts;
    patches_.push_back(std::move(patch));
    return true;
  });
}

// Profiling exports write the device values on objects of their own, one per
// patch, linked to the colour objects by location tags or by name.
FailureReason Cxf3Read::LinkDevices(const Element& objects, bool cut) {
  linked_.assign(patches_.size(), std::nullopt);
  std::vector<std::pair<LinkKey, std::size_t>> wanted;
  for (std::size_t p = 0; p < patches_.size(); ++p) {
    if (!patches_[p].facts.device.cmyk && !patches_[p].facts.device.rgb)
      wanted.emplace_back(KeyOf(patches_[p].facts), p);
  }
  if (wanted.empty() || !anyDeviceOnly_)
    return {};
  std::vector<int> matches(patches_.size());
  std::sort(wanted.begin(), wanted.end());
  // Two patches at one key cannot both be the one a device object means.
  for (std::size_t w = 1; w < wanted.size(); ++w) {
    if (wanted[w].first == wanted[w - 1].first)
      matches[std::max(wanted[w].second, wanted[w - 1].second)] = 2;
  }
  std::optional<std::string_view> unlinked;  // a device-value object no patch took
  ForEachObject(objects, [&](const ObjectView& object) {
    if (object.colour || !object.device)
      return true;
    bool taken = false;
    std::array<std::optional<LinkKey>, 2> keys;
    if (object.facts.location.stated)
      keys[0] = LinkKey{false, object.facts.location.page, object.facts.location.row,
                        object.facts.location.column};
    if (!object.facts.name.empty())
      keys[1] = LinkKey{true, object.facts.name, {}, {}};
    for (const std::optional<LinkKey>& key : keys) {
      if (!key)
        continue;
      const auto [lo, hi] = std::equal_range(wanted.begin(), wanted.end(), *key, KeyLess());
      for (auto it = lo; it != hi; ++it) {
        ++matches[it->second];
        linked_[it->second] = object.facts.device;
        taken = true;
      }
    }
    if (!taken && !unlinked)
      unlinked = object.facts.label;
    return true;
  });
  for (std::size_t p = 0; p < patches_.size(); ++p) {
    const bool wantedHere = !patches_[p].facts.device.cmyk && !patches_[p].facts.device.rgb;
    if (!wantedHere)
      continue;
    if (matches[p] == 0)
      return Refusal(ReadFailure::LinkMissing, Shown(patches_[p].facts.label));
    if (matches[p] > 1)
      return Refusal(ReadFailure::LinkAmbiguous, Shown(patches_[p].facts.label));
  }
  // A target patch without its measurement would drop out of the comparison
  // unseen; past 3000 patches the rest are not read.
  if (unlinked && !cut)
    return Refusal(ReadFailure::LinkMissing, Shown(*unlinked));
  return {};
}

FailureReason Cxf3Read::StoreDevices(Measurement& m) const {
  std::vector<const DeviceTexts*> source(patches_.size());
  bool allCmyk = !patches_.empty();
  bool allRgb = !patches_.empty();
  for (std::size_t p = 0; p < patches_.size(); ++p) {
    const DeviceTexts& own = patches_[p].facts.device;
    source[p] = own.cmyk || own.rgb || !linked_[p] ? &own : &*linked_[p];
    allCmyk = allCmyk && source[p]->cmyk;
    allRgb = allRgb && source[p]->rgb;
  }
  if (!allCmyk && !allRgb)
    return {};
  DeviceValues device;
  device.space = allCmyk ? DeviceSpace::Cmyk : DeviceSpace::Rgb;
  for (const DeviceTexts* texts : source) {
    std::array<float, 4> values{};
    for (int c = 0; c < device.Channels(); ++c) {
      const auto i = static_cast<std::size_t>(c);
      const Text text = allCmyk ? (*texts->cmyk)[i] : (*texts->rgb)[i];
      const std::optional<float> value = text ? ParseValue(*text) : std::nullopt;
      if (!value)
        return Refusal(ReadFailure::NotANumber,
                       NumberWhere(texts->owner, allCmyk ? kCmykParts[i] : kRgbParts[i], text));
      values[i] = *value;
    }
    device.values.push_back(values);
  }
  if (device.space == DeviceSpace::Rgb) {
    device.maxRange = 255;
    if (const Text range = source.front()->maxRange) {
      const std::optional<float> value = ParseValue(*range);
      if (!value || !(*value > 0))
        return Refusal(ReadFailure::NotANumber,
                       NumberWhere(source.front()->owner, "MaxRange", range));
      device.maxRange = *value;
    }
  }
  m.device = std::move(device);
  return {};
}

FailureReason Cxf3Read::StoreColour(Measurement& m) const {
  // The first kind every patch has; when none, the object that breaks the
  // kind that holds longest.
  std::optional<Kind> kind;
  std::size_t furthest = 0;
  for (std::size_t k = 0; k < kKindElement.size() && !kind; ++k) {
    const auto lacking =
        std::find_if(patches_.begin(), patches_.end(), [k](const Patch& p) { return !p.value[k]; });
    if (lacking == patches_.end())
      kind = static_cast<Kind>(k);
    else
      furthest = std::max(furthest, static_cast<std::size_t>(lacking - patches_.begin()));
  }
  if (!kind)
    return Refusal(ReadFailure::MixedColourKinds, Shown(patches_[furthest].facts.label));

  const bool named = !chosen_.illuminant.empty();
  const bool d50 = EqualsIgnoringCase(chosen_.illuminant, "D50");
  const bool d65 = EqualsIgnoringCase(chosen_.illuminant, "D65");
  const bool deg2 = chosen_.observer == "2_Degree";
  const bool deg10 = chosen_.observer == "10_Degree";
  m.illuminant = d50 ? Illuminant::D50 : d65 ? Illuminant::D65 : Illuminant::Unknown;
  m.observer = deg2 ? Observer::Deg2 : deg10 ? Observer::Deg10 : Observer::Unknown;
  m.condition = chosen_.condition;
  if (*kind != Kind::Lab) {
    if (named && !d50 && !d65)
      return Refusal(ReadFailure::UnknownIlluminant, Shown(chosen_.illuminant));
    if (!chosen_.observer.empty() && !deg2 && !deg10)
      return Refusal(ReadFailure::UnknownObserver, Shown(chosen_.observer));
  }
  const StdIlluminant illuminant = WeightingIlluminant(m.illuminant);
  const StdObserver observer = WeightingObserver(m.observer);

  if (*kind == Kind::Spectrum) {
    const FailureReason failure = SpectralLab(chosen_, illuminant, observer, m);
    if (failure.code != ReadFailure::None)
      return failure;
    m.source = LabSource::Spectral;
    return {};
  }
  const auto& parts = kKindParts[static_cast<std::size_t>(*kind)];
  std::vector<float> read;  // three values per patch
  read.reserve(3 * patches_.size());
  for (const Patch& patch : patches_) {
    const ColourValue& value = *patch.value[static_cast<std::size_t>(*kind)];
    for (std::size_t c = 0; c < 3; ++c) {
      const std::optional<float> number =
          value.parts[c] ? ParseValue(*value.parts[c]) : std::nullopt;
      if (!number)
        return Refusal(ReadFailure::NotANumber,
                       NumberWhere(patch.facts.label, parts[c], value.parts[c]));
      read.push_back(*number);
    }
  }
  if (*kind == Kind::Lab) {
    for (std::size_t i = 0; i < read.size(); i += 3)
      m.lab.push_back({read[i], read[i + 1], read[i + 2]});
    m.source = LabSource::Lab;
    return {};
  }
  AppendLabOfXyz(read, ReferenceWhite(illuminant, observer), m.lab);
  m.source = LabSource::Xyz;
  return {};
}

FailureReason Cxf3Read::SpectralLab(const Conditions& setting, StdIlluminant illuminant,
                                    StdObserver observer, Measurement& m) const {
  if (!setting.increment)
    return Refusal(ReadFailure::NoIncrement, Shown(setting.id));
  const std::optional<int> increment = ParseNanometres(*setting.increment);
  if (!increment || *increment <= 0)
    return Refusal(ReadFailure::NotANumber,
                   NumberWhere(setting.id, "Increment", setting.increment));
  struct Spectrum {
    int startNm = 0;
    std::vector<float> values;
  };
  std::vector<Spectrum> spectra;
  spectra.reserve(patches_.size());
  for (const Patch& patch : patches_) {
    const ColourValue& value = *patch.value[static_cast<std::size_t>(Kind::Spectrum)];
    const Text startText = value.startWl ? value.startWl : setting.startWl;
    const std::optional<int> start = startText ? ParseNanometres(*startText) : std::nullopt;
    if (!start)
      return Refusal(ReadFailure::NotANumber, NumberWhere(patch.facts.label, "StartWL", startText));
    Spectrum s{*start, {}};
    std::string_view rest = value.spectrum;
    for (;;) {
      rest = TrimXml(rest);
      if (rest.empty())
        break;
      const std::size_t end = static_cast<std::size_t>(
          std::find_if(rest.begin(), rest.end(), IsXmlSpace) - rest.begin());
      if (s.values.size() == static_cast<std::size_t>(kMaxSpectralValues))
        return Refusal(ReadFailure::SpectrumTooLong, Shown(patch.facts.label));
      const std::optional<float> number = ParseValue(rest.substr(0, end));
      if (!number)
        return Refusal(ReadFailure::NotANumber,
                       NumberWhere(patch.facts.label, "ReflectanceSpectrum", rest.substr(0, end)));
      s.values.push_back(*number);
      rest.remove_prefix(end);
    }
    spectra.push_back(std::move(s));
  }
  const bool percent = std::any_of(spectra.begin(), spectra.end(), [](const Spectrum& s) {
    return ReflectanceInPercent(s.values);
  });
  // Spectra of one file nearly always share their bands; a plan per layout.
  struct Layout {
    int startNm;
    std::size_t count;
    SpectralWeights plan;
  };
  std::vector<Layout> layouts;
  int stepNm = 0;
  for (const Spectrum& s : spectra) {
    auto layout = std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) {
      return l.startNm == s.startNm && l.count == s.values.size();
    });
    if (layout == layouts.end()) {
      std::vector<int> bandNm(s.values.size());
      for (std::size_t k = 0; k < bandNm.size(); ++k)
        bandNm[k] = s.startNm + *increment * static_cast<int>(k);
      SpectralWeights plan = PlanSpectralWeights(bandNm, illuminant, observer);
      if (plan.fault == SpectralFault::Narrow)
        return Refusal(ReadFailure::SpectralNarrow);
      if (plan.fault == SpectralFault::Gap)
        return Refusal(ReadFailure::SpectralGap, std::to_string(plan.faultNm));
      layouts.push_back({s.startNm, s.values.size(), std::move(plan)});
      layout = layouts.end() - 1;
    }
    Xyz xyz;
    WeighSpectra(layout->plan, s.values, s.values.size(), percent ? 0.01 : 1.0,
                 std::span<Xyz>(&xyz, 1));
    m.lab.push_back(StoredLab(XyzToLab(xyz, layout->plan.white)));
    stepNm = std::max(stepNm, layout->plan.stepNm);
  }
  m.spectralStepNm = stepNm;
  return {};
}

FailureReason Cxf3Read::Run(Measurement& m) {
  const std::optional<Element> resources = FirstChild(root_, "Resources");
  const std::optional<Element> objects =
      resources ? FirstChild(*resources, "ObjectCollection") : std::nullopt;
  if (!objects)
    return Refusal(ReadFailure::NoObjectCollection);
  for (FailureReason failure : {IndexSpecifications(*resources), ChooseSpecification(*objects)}) {
    if (failure.code != ReadFailure::None)
      return failure;
  }
  CollectPatches(*objects, m);
  if (patches_.empty())
    return Refusal(ReadFailure::NoColourObjects);
  FailureReason failure = StoreColour(m);
  if (failure.code == ReadFailure::None)
    failure = LinkDevices(*objects, m.cutAt3000);
  if (failure.code == ReadFailure::None)
    failure = StoreDevices(m);
  if (failure.code != ReadFailure::None)
    return failure;
  m.colorSpecification = StoredIdentifier(ToValidUtf8(chosen_.id), true);
  for (IdentifierColumn* column : {&m.ids, &m.sampleName, &m.sampleId}) {
    column->present = true;
    column->values.reserve(patches_.size());
    for (const Patch& patch : patches_)
      column->values.push_back(StoredIdentifier(ToValidUtf8(patch.facts.name), true));
  }
  return {};
}

// The root, in the CxF3 namespace; else what was found.
FailureReason CheckRoot(const Element& root) {
  const std::string_view name = root.node.name();
  const std::optional<std::string_view> ns = root.scope.Resolve(Prefix(name));
  if (LocalName(name) == "CxF" && ns == kCxf3Namespace)
    return {};
  std::string found = Shown(name);
  if (ns && !ns->empty())
    found += " xmlns=\"" + Shown(*ns) + "\"";
  return Refusal(ReadFailure::NotCxf3, found);
}

FailureReason ReadDocument(std::string_view bytes,
                           const std::function<void(std::string_view)>& notice, Measurement& m) {
  if (bytes.size() > kMaxCxfBytes)
    return Refusal(ReadFailure::CxfTooLarge);
  Decoded decoded = Decode(bytes);
  if (decoded.failure.code != ReadFailure::None)
    return decoded.failure;
  std::string& text = decoded.text;
  if (text.size() > kMaxXmlMemoryBytes)
    return Refusal(ReadFailure::XmlTooLarge);
  std::ptrdiff_t errorOffset = 0;
  std::string message;
  {
    const MemoryBudget budget(kMaxXmlMemoryBytes - text.size());
    pugi::xml_document document;
    // No entity is expanded and nothing is fetched; a DOCTYPE is kept as a
    // node only so that the file can be refused for it. Element text stays
    // in its element rather than in a node of its own.
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        text.data(), text.size(),
        pugi::parse_default | pugi::parse_doctype | pugi::parse_embed_pcdata, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory)
      return Refusal(ReadFailure::XmlTooLarge);
    if (parsed) {
      for (pugi::xml_node n = document.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_doctype)
          return Refusal(ReadFailure::XmlDoctype);
      }
      const Element root(nullptr, document.document_element());
      if (FailureReason failure = CheckRoot(root); failure.code != ReadFailure::None)
        return failure;
      return Cxf3Read(root, notice).Run(m);
    }
    errorOffset = parsed.offset;
    message = parsed.description();
  }
  // The parser wrote into the text; the position is counted in a fresh copy.
  text = Decode(bytes).text;
  return Refusal(
      ReadFailure::XmlMalformed,
      Position(text, static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, errorOffset))) + ": " +
          message);
}

}  // namespace

bool LooksLikeXml(std::string_view head) {
  if (head.starts_with(kUtf8Bom)) {
    head.remove_prefix(kUtf8Bom.size());
  } else if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
    const bool little = head[0] == '\xFF';
    for (std::size_t i = 2; i + 1 < head.size(); i += 2) {
      const auto lo = static_cast<unsigned char>(head[little ? i : i + 1]);
      const auto hi = static_cast<unsigned char>(head[little ? i + 1 : i]);
      if (hi != 0 || !(lo == '<' || IsXmlSpace(static_cast<char>(lo))))
        return false;
      if (lo == '<')
        return true;
    }
    return false;
  } else if (head.size() >= 2 &&
             ((head[0] == '<' && head[1] == '\0') || (head[0] == '\0' && head[1] == '<'))) {
    return true;
  }
  for (const char c : head) {
    if (c == '<')
      return true;
    if (!IsXmlSpace(c))
      return false;
  }
  return false;
}

Measurement ReadCxf3(std::string_view bytes, const std::string& path,
                     const std::function<void(std::string_view)>& notice) {
  Measurement m;
  m.path = path;
  m.format = FileFormat::Cxf3;
  const FailureReason failure = ReadDocument(bytes, notice, m);
  if (failure.code == ReadFailure::None)
    return m;
  Measurement refused;
  refused.path = path;
  refused.format = FileFormat::Cxf3;
  refused.cutAt3000 = m.cutAt3000;
  refused.failure = failure;
  return refused;
}

}  // namespace korimo
