#include "cli/JsonReport.h"

#include <array>

#include "app/Histogram.h"
#include "app/Labels.h"
#include "app/Pairing.h"
#include "app/ReadNotes.h"
#include "app/Version.h"
#include "cli/JsonLayout.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

using Json = nlohmann::ordered_json;

// Paths are whatever the command line held; the document must stay UTF-8.
Json Text(const std::string& text) {
  return ToValidUtf8(text);
}

// A 32-bit figure widened to the double it stands for.
Json Number(float value) {
  return static_cast<double>(value);
}

Json SourceKey(LabSource source) {
  static constexpr std::array<const char*, 4> kKeys = {nullptr, "lab", "xyz", "spectral"};
  const char* key = kKeys[static_cast<std::size_t>(source)];
  return key == nullptr ? Json(nullptr) : Json(key);
}

Json IlluminantKey(Illuminant illuminant) {
  static constexpr std::array<const char*, 3> kKeys = {nullptr, "D50", "D65"};
  const char* key = kKeys[static_cast<std::size_t>(illuminant)];
  return key == nullptr ? Json(nullptr) : Json(key);
}

Json ObserverKey(Observer observer) {
  switch (observer) {
    case Observer::Deg2:
      return 2;
    case Observer::Deg10:
      return 10;
    case Observer::Unknown:
      break;
  }
  return nullptr;
}

Json ConditionKey(Condition condition) {
  const std::string_view name = ConditionName(condition);
  return name.empty() ? Json(nullptr) : Json(std::string(name));
}

// One row of channel values per stored patch, widened as L*a*b* is.
Json Device(const DeviceValues& device) {
  if (device.space == DeviceSpace::None)
    return nullptr;
  Json values = Json::array();
  for (const auto& patch : device.values) {
    Json row = Json::array();
    for (int c = 0; c < device.Channels(); ++c)
      row.push_back(Number(patch[static_cast<std::size_t>(c)]));
    values.push_back(std::move(row));
  }
  Json entry = {{"space", device.space == DeviceSpace::Cmyk ? "CMYK" : "RGB"},
                {"values", std::move(values)}};
  // Only a CxF3 RGB scale states its top; CGATS RGB_ columns never do.
  if (device.maxRange > 0)
    entry["max_range"] = Number(device.maxRange);
  return entry;
}

// The format the reader recognised; none when no file was chosen or none
// could be opened to be recognised.
Json ReadFormatKey(const Measurement* m) {
  if (m == nullptr)
    return nullptr;
  switch (m->failure.code) {
    case ReadFailure::Missing:
    case ReadFailure::NotRegularFile:
    case ReadFailure::Unreadable:
      return nullptr;
    default:
      break;
  }
  return m->format == FileFormat::Cxf3 ? "cxf3" : "cgats";
}

Json Sets(const EngineState& state) {
  const Comparison& c = state.Current();
  Json sets = Json::array();
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    static const Measurement kUnread;
    const Measurement& info = c.Set(set) != nullptr ? *c.Set(set) : kUnread;
    Json lab = Json::array();
    for (const LabValue& v : info.lab)
      lab.push_back(Json::array({Number(v[0]), Number(v[1]), Number(v[2])}));
    sets.push_back(
        {{"path", Text(state.inputs.paths[s])},
         {"patch_count", info.Count()},
         {"row_length", c.RowLength(set)},
         {"lab", std::move(lab)},
         {"source", SourceKey(info.source)},
         {"illuminant", IlluminantKey(info.illuminant)},
         {"observer", ObserverKey(info.observer)},
         {"condition", ConditionKey(info.condition)},
         {"device", Device(info.device)},
         {"failure", info.failure.code == ReadFailure::None ? Json(nullptr)
                                                            : Text(EnglishReason(info.failure))},
         {"format", ReadFormatKey(c.Set(set))}});
  }
  return sets;
}

Json PatchIds(const Comparison& c) {
  Json ids = Json::array();
  const int n = c.ShownPatchCount();
  for (int i = 0; i < n; ++i)
    ids.push_back(Text(c.ShownId(i)));
  return ids;
}

// Signed ΔL* and ΔC*ab, ΔH*ab and ΔCh of every patch; null where the
// Reference patch has no sample patch.
Json Components(const std::vector<PatchDifference>& patches, int n, double PatchDifference::*part) {
  Json values = Json::array();
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (at < patches.size() && patches[at].Paired())
      values.push_back(patches[at].*part);
    else
      values.push_back(nullptr);
  }
  return values;
}

Json Pairs(const EngineState& state) {
  const Comparison& c = state.Current();
  const VerificationInput input = VerificationInputs(c);
  const int n = c.ShownPatchCount();
  Json pairs = Json::array();
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    const PairComparison& compared = c.PairOf(pair);
    Json deAb = Json::array();
    Json de00 = Json::array();
    for (int i = 0; i < n; ++i) {
      const bool paired = compared.map.Paired(i);
      deAb.push_back(paired ? Number(compared.StoredDeAb(i)) : Json(nullptr));
      de00.push_back(paired ? Number(compared.StoredDe00(i)) : Json(nullptr));
    }
    const Shown::PairViews& views = state.shown.pairs[p];
    const HistogramView histogram =
        views.histogram ? HistogramOf(*views.histogram, pair) : HistogramView{};
    Json histValues = Json::array();
    for (const float value : histogram.edges)
      histValues.push_back(Number(value));
    const FrameTexts t = FrameTextsOf(views.averages.get(), views.percentiles.get(), pair);
    pairs.push_back({
        {"de_ab", std::move(deAb)},
        {"de00", std::move(de00)},
        {"avg_de_ab", Number(c.AvgDeAb(pair))},
        {"max_de_ab", Number(c.MaxDeAb(pair))},
        {"best10_de_ab", Number(c.Best10DeAb(pair))},
        {"pct95_de_ab", Number(c.Pct95DeAb(pair))},
        {"avg_de00", Number(c.AvgDe00(pair))},
        {"max_de00", Number(c.MaxDe00(pair))},
        {"best10_de00", Number(c.Best10De00(pair))},
        {"pct95_de00", Number(c.Pct95De00(pair))},
        {"labels",
         {{"avg_de_ab", t.de[0]},
          {"max_de_ab", t.de[1]},
          {"best10_de_ab", t.de[2]},
          {"pct95_de_ab", t.de[3]},
          {"avg_de00", t.de00[0]},
          {"max_de00", t.de00[1]},
          {"best10_de00", t.de00[2]},
          {"pct95_de00", t.de00[3]}}},
        {"hist_count", histogram.counts},
        {"hist_value", std::move(histValues)},
        {"under_percent", UnderPercent(views.under.from.get(), pair, views.under.overSampleCount)},
        {"over_percent", OverPercent(views.over.from.get(), pair, views.over.overSampleCount)},
        {"dl", Components(input[p], n, &PatchDifference::dl)},
        {"dc", Components(input[p], n, &PatchDifference::dc)},
        {"dh", Components(input[p], n, &PatchDifference::dh)},
        {"dch", Components(input[p], n, &PatchDifference::dch)},
    });
  }
  return pairs;
}

Json ThresholdsOf(const Comparison& c) {
  const korimo::Thresholds t = c.CurrentThresholds();
  return {{"under_de_ab", Number(t.underDeAb)},
          {"over_de_ab", Number(t.overDeAb)},
          {"under_de00", Number(t.underDe00)},
          {"over_de00", Number(t.overDe00)}};
}

Json Grid(const GridContent& grid) {
  Json rows = Json::array();
  for (std::size_t r = 0; r < grid.RowCount(); ++r) {
    Json cells = Json::array();
    for (std::size_t c = 0; c < kGridCols; ++c)
      cells.push_back(std::string(grid.Row(r)[c]));
    rows.push_back(std::move(cells));
  }
  return rows;
}

// How the pair's patches were paired; an incomplete pair names the chosen
// mode with nothing paired.
void AddPairMap(Json& entry, const PairMap& map) {
  const bool complete = map.complete;
  Json ids = Json::array();
  for (const std::string& id : map.sampleOnlyIds)
    ids.push_back(Text(id));
  entry["mode"] = std::string(PairingModeKey(map.mode));
  entry["paired"] = complete ? map.paired : 0;
  entry["reference_only"] = complete ? map.referenceOnly : 0;
  entry["sample_only"] = complete ? map.sampleOnly : 0;
  entry["sample_only_ids"] = complete ? std::move(ids) : Json::array();
  entry["fallback_reason"] = map.fallbackReason.empty() ? Json(nullptr) : Text(map.fallbackReason);
  entry["device_mismatches"] = map.deviceMismatches ? Json(*map.deviceMismatches) : Json(nullptr);
}

// Always both pairs, Reference-File1 first; an incomplete pair reports nothing.
Json Pairing(const Comparison& c) {
  const Measurement* ref = c.Set(DataSet::Reference);
  Json pairs = Json::array();
  for (Pair pair : kAllPairs) {
    const Measurement* sample = c.Set(SampleOf(pair));
    const PairCheck check = CheckPair(ref, sample);
    Json first = nullptr;
    if (check.idMismatches > 0) {
      const auto at = static_cast<std::size_t>(check.firstMismatches.front());
      first = {{"patch", check.firstMismatches.front()},
               {"reference", Text(ref->ids.values[at])},
               {"sample", Text(sample->ids.values[at])}};
    }
    Json entry = {{"complete", check.complete},
                  {"ids_compared", check.idsCompared},
                  {"id_mismatches", check.idMismatches},
                  {"first_mismatch", std::move(first)},
                  {"counts_differ", check.countsDiffer},
                  {"conditions_differ", check.complete && ConditionsDiffer(*ref, *sample)}};
    AddPairMap(entry, c.PairOf(pair).map);
    pairs.push_back(std::move(entry));
  }
  return pairs;
}

Json CriterionOf(const CriterionResult& result) {
  const Criterion& c = result.criterion;
  const std::string reason = ReasonText(result, Language::English);
  return {{"role", std::string(DefinitionOf(c.role).key)},
          {"metric", std::string(MetricKey(c.metric))},
          {"stat", std::string(StatKey(c.stat))},
          {"limit", c.limit},
          {"patches", result.patches},
          {"value", result.value ? Json(*result.value) : Json(nullptr)},
          {"pass", result.pass},
          {"reason", reason.empty() ? Json(nullptr) : Text(reason)}};
}

Json SetOf(const SetVerdict& set) {
  Json pairs = Json::array();
  for (const PairVerdict& pair : set.pairs) {
    Json criteria = Json::array();
    for (const CriterionResult& result : pair.criteria)
      criteria.push_back(CriterionOf(result));
    pairs.push_back({{"pair", static_cast<int>(Index(pair.pair))},
                     {"pass", pair.pass},
                     {"criteria", std::move(criteria)}});
  }
  return {{"name", Text(set.name)},
          {"pass", set.pass},
          {"reason", set.noPair ? Json(NoPairText(Language::English)) : Json(nullptr)},
          {"pairs", std::move(pairs)}};
}

Json VerdictOf(const Verdict* verdict) {
  if (verdict == nullptr)
    return nullptr;
  Json checks = Json::array();
  for (const CheckResult& check : verdict->checks) {
    checks.push_back({{"pair", static_cast<int>(Index(check.pair))},
                      {"metric", std::string(MetricKey(check.tolerance.metric))},
                      {"stat", std::string(StatKey(check.tolerance.stat))},
                      {"limit", check.tolerance.limit},
                      {"value", check.value ? Json(*check.value) : Json(nullptr)},
                      {"pass", check.pass}});
  }
  Json sets = Json::array();
  for (const SetVerdict& set : verdict->sets)
    sets.push_back(SetOf(set));
  return {{"pass", verdict->pass}, {"checks", std::move(checks)}, {"sets", std::move(sets)}};
}

}  // namespace

std::string BuildJsonReport(const EngineState& state, const Verdict* verdict) {
  const Comparison& c = state.Current();
  const auto captions = CheckBoxCaptions(state.shown.captions.get());
  Json counts = Json::array();
  for (DataSet set : kAllSets)
    counts.push_back(CountLabel(c.Set(set)));
  Json doc = {
      {"version", std::string(kVersionText)},
      {"sets", Sets(state)},
      {"patch_id", PatchIds(c)},
      {"pairs", Pairs(state)},
      {"thresholds", ThresholdsOf(c)},
      {"captions", {{"under", captions[0]}, {"over", captions[1]}}},
      {"count_labels", std::move(counts)},
      {"chart", {{"rows", state.ui.chart.ChartRows}, {"cols", state.ui.chart.ChartCols}}},
      {"grid", Grid(state.record.FlexG)},
      {"pairing", Pairing(c)},
      {"verdict", VerdictOf(verdict)},
  };
  return LayOutJson(doc);
}

}  // namespace korimo
