#include "app/PairingMap.h"

#include "app/Pairing.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace korimo {

namespace {

// Device values are read as 32-bit floats: recipes written 0.01 apart may
// come out 0.0100002 apart.
constexpr double kFloatSlack = 1e-4;

// One file's identifiers as a list of whole texts; empty when it has none.
struct IdList {
  const std::string* values = nullptr;
  int count = 0;
  bool present() const { return values != nullptr; }
  const std::string& operator[](int i) const { return values[i]; }
};

IdList ColumnOf(const IdentifierColumn& column, int count) {
  if (!column.present)
    return {};
  return {column.values.data(), std::min(count, static_cast<int>(column.values.size()))};
}

int CountOf(const Measurement* m) {
  return m == nullptr ? 0 : m->Count();
}

// Reference patches whose identifier the sample holds.
int Matches(const std::array<IdList, 2>& ids) {
  std::unordered_set<std::string_view> held;
  held.reserve(static_cast<std::size_t>(ids[1].count));
  for (int j = 0; j < ids[1].count; ++j)
    held.insert(ids[1][j]);
  int matches = 0;
  for (int i = 0; i < ids[0].count; ++i)
    matches += held.contains(ids[0][i]) ? 1 : 0;
  return matches;
}

// A CxF3 file names a patch once (its Object's Name fills both columns), so
// against a CGATS file holding both columns the one whose texts are the
// names is not known from the headers: the column that pairs more patches
// serves, SAMPLE_NAME on a tie.
std::optional<std::array<IdList, 2>> NamesAgainstColumns(const Measurement& ref,
                                                         const Measurement& other) {
  const bool oneCxf3 = (ref.format == FileFormat::Cxf3) != (other.format == FileFormat::Cxf3);
  if (!oneCxf3 || !ref.sampleName.present || !ref.sampleId.present || !other.sampleName.present ||
      !other.sampleId.present)
    return std::nullopt;
  const int nRef = ref.Count();
  const int nSample = other.Count();
  const std::array<IdList, 2> byName = {ColumnOf(ref.sampleName, nRef),
                                        ColumnOf(other.sampleName, nSample)};
  const std::array<IdList, 2> byId = {ColumnOf(ref.sampleId, nRef),
                                      ColumnOf(other.sampleId, nSample)};
  return Matches(byId) > Matches(byName) ? byId : byName;
}

// The column both files share: SAMPLE_NAME first, then SAMPLE_ID, else the
// identifier column each file shows.
std::array<IdList, 2> SharedIds(const Measurement& ref, const Measurement& other) {
  const int nRef = ref.Count();
  const int nSample = other.Count();
  if (const auto names = NamesAgainstColumns(ref, other))
    return *names;
  if (ref.sampleName.present && other.sampleName.present)
    return {ColumnOf(ref.sampleName, nRef), ColumnOf(other.sampleName, nSample)};
  if (ref.sampleId.present && other.sampleId.present)
    return {ColumnOf(ref.sampleId, nRef), ColumnOf(other.sampleId, nSample)};
  const bool anyRecord = ref.sampleName.present || ref.sampleId.present ||
                         other.sampleName.present || other.sampleId.present;
  if (!anyRecord && ref.ids.present && other.ids.present)
    return {ColumnOf(ref.ids, nRef), ColumnOf(other.ids, nSample)};
  return {};
}

// A sample patch as the user knows it: its identifier, or No.n.
std::string SampleLabel(const Measurement& set, int patch) {
  const std::size_t i = static_cast<std::size_t>(patch);
  for (const IdentifierColumn* column : {&set.sampleName, &set.sampleId, &set.ids}) {
    if (column->present && i < column->values.size())
      return column->values[i];
  }
  return "No." + std::to_string(patch + 1);
}

// The first identifier that occurs twice in one file, Reference first, with
// how often it occurs there.
std::optional<std::pair<std::string, int>> FirstDuplicate(const IdList& ids) {
  std::unordered_map<std::string_view, int> seen;
  seen.reserve(static_cast<std::size_t>(ids.count));
  std::optional<std::string_view> first;
  for (int i = 0; i < ids.count; ++i) {
    if (++seen[ids[i]] == 2 && !first)
      first = ids[i];
  }
  if (!first)
    return std::nullopt;
  return std::make_pair(std::string(*first), seen[*first]);
}

bool SameRecipe(const std::array<float, 4>& a, const std::array<float, 4>& b, int channels) {
  for (int c = 0; c < channels; ++c) {
    const double difference = std::abs(static_cast<double>(a[c]) - static_cast<double>(b[c]));
    if (!(difference <= kDeviceTolerance + kFloatSlack))
      return false;
  }
  return true;
}

void PairById(PairMap& map, const std::array<IdList, 2>& ids) {
  std::unordered_map<std::string_view, int> where;
  where.reserve(static_cast<std::size_t>(ids[1].count));
  for (int j = 0; j < ids[1].count; ++j)
    where.emplace(ids[1][j], j);
  for (int i = 0; i < ids[0].count; ++i) {
    const auto found = where.find(ids[0][i]);
    if (found != where.end())
      map.sample[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(found->second);
  }
}

// Each Reference patch takes the first sample patch of its recipe not yet
// taken, so repeated recipes pair in file order. The sample patches are
// looked up sorted by their first channel.
void PairByDevice(PairMap& map, const DeviceValues& ref, int nRef, const DeviceValues& other,
                  int nSample) {
  const int channels = ref.Channels();
  const int nr = std::min(nRef, static_cast<int>(ref.values.size()));
  const int ns = std::min(nSample, static_cast<int>(other.values.size()));
  std::vector<int> byFirst(static_cast<std::size_t>(ns));
  std::iota(byFirst.begin(), byFirst.end(), 0);
  // A channel that is not a number sorts last and matches nothing.
  const auto first = [&other](int j) {
    const double v = other.values[static_cast<std::size_t>(j)][0];
    return std::isnan(v) ? HUGE_VAL : v;
  };
  std::stable_sort(byFirst.begin(), byFirst.end(),
                   [&](int a, int b) { return first(a) < first(b); });
  std::vector<bool> taken(static_cast<std::size_t>(ns), false);
  for (int i = 0; i < nr; ++i) {
    const double low = static_cast<double>(ref.values[i][0]) - kDeviceTolerance - kFloatSlack;
    auto it = std::lower_bound(byFirst.begin(), byFirst.end(), low,
                               [&](int j, double value) { return first(j) < value; });
    int best = -1;
    for (; it != byFirst.end() && SameRecipe(ref.values[i], other.values[*it], 1); ++it) {
      const int j = *it;
      if (!taken[j] && (best < 0 || j < best) &&
          SameRecipe(ref.values[i], other.values[j], channels))
        best = j;
    }
    if (best >= 0) {
      taken[static_cast<std::size_t>(best)] = true;
      map.sample[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(best);
    }
  }
}

// Recipes of ID-paired patches that differ: a sign the identifiers were
// renumbered.
std::optional<int> DeviceMismatches(const PairMap& map, const DeviceValues& ref,
                                    const DeviceValues& other) {
  if (ref.space == DeviceSpace::None || other.space == DeviceSpace::None)
    return std::nullopt;
  int mismatches = 0;
  for (std::size_t i = 0; i < map.sample.size(); ++i) {
    const int j = map.sample[i];
    if (j < 0)
      continue;
    if (ref.space != other.space || i >= ref.values.size() ||
        static_cast<std::size_t>(j) >= other.values.size() ||
        !SameRecipe(ref.values[i], other.values[static_cast<std::size_t>(j)], ref.Channels()))
      ++mismatches;
  }
  return mismatches;
}

std::string_view SpaceName(DeviceSpace space) {
  return space == DeviceSpace::Cmyk ? "CMYK" : space == DeviceSpace::Rgb ? "RGB" : "なし";
}

// Why `mode` cannot pair this complete pair; empty when it can.
std::string Obstacle(PairingMode mode, const std::array<IdList, 2>& ids, const DeviceValues& ref,
                     const DeviceValues& other) {
  if (mode == PairingMode::Id) {
    if (!ids[0].present() || !ids[1].present())
      return "共通のID列なし";
    for (const IdList& list : ids) {
      if (const auto duplicate = FirstDuplicate(list))
        return "ID重複（「" + duplicate->first + "」×" + std::to_string(duplicate->second) + "）";
    }
    return {};
  }
  if (ref.space == DeviceSpace::None || other.space == DeviceSpace::None)
    return "デバイス値なし";
  if (ref.space != other.space) {
    return "デバイス値の色空間違い（" + std::string(SpaceName(ref.space)) + "・" +
           std::string(SpaceName(other.space)) + "）";
  }
  return {};
}

void CountPositions(PairMap& map, const Measurement& sample, int nRef, int nSample) {
  map.byPosition = true;
  map.sample.clear();
  map.paired = std::min(nRef, nSample);
  map.referenceOnly = nRef - map.paired;
  map.sampleOnly = nSample - map.paired;
  for (int j = map.paired; j < nSample && map.sampleOnlyIds.size() < kListedSampleOnly; ++j)
    map.sampleOnlyIds.push_back(SampleLabel(sample, j));
}

}  // namespace

std::string_view PairingModeKey(PairingMode mode) {
  for (const PairingModeName& name : kPairingModes) {
    if (name.mode == mode)
      return name.key;
  }
  return {};
}

PairMap BuildPairMap(const Measurement* reference, const Measurement* sample, PairingMode mode) {
  PairMap map;
  map.mode = mode;
  const int nRef = CountOf(reference);
  const int nSample = CountOf(sample);
  map.complete = nRef >= 1 && nSample >= 1;
  if (!map.complete)
    return map;
  const Measurement& ref = *reference;
  const Measurement& other = *sample;
  if (mode == PairingMode::Position) {
    CountPositions(map, other, nRef, nSample);
    return map;
  }
  const std::array<IdList, 2> ids = SharedIds(ref, other);
  const DeviceValues& refDevice = ref.device;
  const DeviceValues& otherDevice = other.device;
  map.fallbackReason = Obstacle(mode, ids, refDevice, otherDevice);
  if (map.fallbackReason.empty()) {
    map.byPosition = false;
    map.sample.assign(static_cast<std::size_t>(nRef), kUnpaired);
    if (mode == PairingMode::Id)
      PairById(map, ids);
    else
      PairByDevice(map, refDevice, nRef, otherDevice, nSample);
    map.paired = static_cast<int>(
        std::count_if(map.sample.begin(), map.sample.end(), [](std::int16_t j) { return j >= 0; }));
    if (map.paired == 0)
      map.fallbackReason = mode == PairingMode::Id ? "ID対応なし" : "デバイス値対応なし";
  }
  if (!map.fallbackReason.empty()) {
    map.mode = PairingMode::Position;
    CountPositions(map, other, nRef, nSample);
    return map;
  }
  map.referenceOnly = nRef - map.paired;
  map.sampleOnly = nSample - map.paired;
  std::vector<bool> used(static_cast<std::size_t>(nSample), false);
  for (const std::int16_t j : map.sample) {
    if (j >= 0)
      used[static_cast<std::size_t>(j)] = true;
  }
  for (int j = 0; j < nSample && map.sampleOnlyIds.size() < kListedSampleOnly; ++j) {
    if (!used[static_cast<std::size_t>(j)])
      map.sampleOnlyIds.push_back(SampleLabel(other, j));
  }
  if (mode == PairingMode::Id)
    map.deviceMismatches = DeviceMismatches(map, refDevice, otherDevice);
  return map;
}

namespace {

std::string_view Outcome(const PairMap& map) {
  return map.mode == PairingMode::Id ? "ID対応" : "デバイス値対応";
}

std::string SampleCaption(Pair pair) {
  return pair == Pair::ReferenceFile1 ? "File1" : "File2";
}

}  // namespace

std::string PairMapStrip(Pair pair, const PairMap& map) {
  if (!map.complete)
    return {};
  const std::string name = std::string(PairName(pair)) + ": ";
  if (!map.fallbackReason.empty())
    return name + map.fallbackReason + " 位置で比較";
  if (map.byPosition)
    return {};
  if (map.deviceMismatches.value_or(0) > 0) {
    return name + "ID対応でデバイス値不一致 " + std::to_string(*map.deviceMismatches) + "/" +
           std::to_string(map.paired) + " → デバイス値で対応を";
  }
  if (map.referenceOnly == 0 && map.sampleOnly == 0)
    return {};
  return name + std::string(Outcome(map)) + " " + std::to_string(map.paired) + "/" +
         std::to_string(map.paired + map.referenceOnly) + "（基準のみ " +
         std::to_string(map.referenceOnly) + "・" + SampleCaption(pair) + "のみ " +
         std::to_string(map.sampleOnly) + "）";
}

std::string PairMapTip(Pair pair, const PairMap& map) {
  if (PairMapStrip(pair, map).empty())
    return {};
  std::string text = std::string(PairName(pair)) + ": ";
  if (!map.fallbackReason.empty())
    return text + map.fallbackReason + "。パッチは位置で比較しています";
  text += std::string(Outcome(map)) + " " + std::to_string(map.paired) + " 件\n基準のみ " +
          std::to_string(map.referenceOnly) + " 件\n" + SampleCaption(pair) + "のみ " +
          std::to_string(map.sampleOnly) + " 件";
  if (map.sampleOnly > static_cast<int>(map.sampleOnlyIds.size()))
    text += "（最初の " + std::to_string(map.sampleOnlyIds.size()) + " 件）";
  if (!map.sampleOnlyIds.empty())
    text += ":";
  for (const std::string& id : map.sampleOnlyIds)
    text += "\n" + id;
  return text;
}

}  // namespace korimo
