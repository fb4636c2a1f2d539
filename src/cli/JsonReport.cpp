#include "cli/JsonReport.h"

#include <array>

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
  static constexpr std::array<const char*, 5> kKeys = {nullptr, "M0", "M1", "M2", "M3"};
  const char* key = kKeys[static_cast<std::size_t>(condition)];
  return key == nullptr ? Json(nullptr) : Json(key);
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
  return {{"space", device.space == DeviceSpace::Cmyk ? "CMYK" : "RGB"},
          {"values", std::move(values)}};
}

Json Sets(const EngineState& state) {
  const ComparisonData& d = state.Data();
  Json sets = Json::array();
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    Json lab = Json::array();
    for (int i = 0; i < d.PatchCount[s]; ++i) {
      const auto& v = d.Lab(static_cast<int>(s))[i];
      lab.push_back(Json::array({v[0], v[1], v[2]}));
    }
    const MeasurementSet& info = state.sets[s];
    sets.push_back(
        {{"path", Text(state.record.Path(set))},
         {"patch_count", d.PatchCount[s]},
         {"row_length", d.RowLength[s]},
         {"lab", std::move(lab)},
         {"source", SourceKey(info.source)},
         {"illuminant", IlluminantKey(info.illuminant)},
         {"observer", ObserverKey(info.observer)},
         {"condition", ConditionKey(info.condition)},
         {"device", Device(info.device)},
         {"failure", info.failure.code == ReadFailure::None ? Json(nullptr)
                                                            : Text(EnglishReason(info.failure))}});
  }
  return sets;
}

Json PatchIds(const EngineState& state) {
  const ComparisonData& d = state.Data();
  Json ids = Json::array();
  const int n = ShownPatchCount(d);
  for (int i = 0; i < n; ++i)
    ids.push_back(Text(ShownId(d, state.pairingMode, i)));
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
  const ComparisonData& d = state.Data();
  const VerificationInput input = VerificationInputs(state);
  const WindowRecord& r = state.record;
  const int n = ShownPatchCount(d);
  Json pairs = Json::array();
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    const PairMap& map = state.Map(pair);
    Json deAb = Json::array();
    Json de00 = Json::array();
    for (int i = 0; i < n; ++i) {
      const bool paired = map.Paired(i);
      deAb.push_back(paired ? Number(d.DeAb[i][p]) : Json(nullptr));
      de00.push_back(paired ? Number(d.De00[i][p]) : Json(nullptr));
    }
    Json histValues = Json::array();
    for (const float value : state.HistValue[p])
      histValues.push_back(Number(value));
    pairs.push_back({
        {"de_ab", std::move(deAb)},
        {"de00", std::move(de00)},
        {"avg_de_ab", Number(d.AvgDeAb[p])},
        {"max_de_ab", Number(d.MaxDeAb[p])},
        {"best10_de_ab", Number(d.Best10DeAb[p])},
        {"pct95_de_ab", Number(d.Pct95DeAb[p])},
        {"avg_de00", Number(d.AvgDe00[p])},
        {"max_de00", Number(d.MaxDe00[p])},
        {"best10_de00", Number(d.Best10De00[p])},
        {"pct95_de00", Number(d.Pct95De00[p])},
        {"labels",
         {{"avg_de_ab", r.Lb_De[2 * p]},
          {"max_de_ab", r.Lb_De[2 * p + 1]},
          {"best10_de_ab", r.Lb_BestDe[p]},
          {"pct95_de_ab", r.Lb_WorsDe[p]},
          {"avg_de00", r.Lb_De2K[2 * p]},
          {"max_de00", r.Lb_De2K[2 * p + 1]},
          {"best10_de00", r.Lb_Best2K[p]},
          {"pct95_de00", r.Lb_Wors2K[p]}}},
        {"hist_count", state.HistCount[p]},
        {"hist_value", std::move(histValues)},
        {"under_percent", r.Lb_UPar[p]},
        {"over_percent", r.Lb_OPar[p]},
        {"dl", Components(input[p], n, &PatchDifference::dl)},
        {"dc", Components(input[p], n, &PatchDifference::dc)},
        {"dh", Components(input[p], n, &PatchDifference::dh)},
        {"dch", Components(input[p], n, &PatchDifference::dch)},
    });
  }
  return pairs;
}

Json Thresholds(const ComparisonData& d) {
  return {{"under_de_ab", Number(d.UnderDeAb)},
          {"over_de_ab", Number(d.OverDeAb)},
          {"under_de00", Number(d.UnderDe00)},
          {"over_de00", Number(d.OverDe00)}};
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
Json Pairing(const EngineState& state) {
  const ComparisonData& d = state.Data();
  Json pairs = Json::array();
  for (Pair pair : kAllPairs) {
    const PairCheck& check = state.pairing[Index(pair)];
    Json first = nullptr;
    if (check.idMismatches > 0) {
      const auto at = static_cast<std::size_t>(check.firstMismatches.front());
      first = {{"patch", check.firstMismatches.front()},
               {"reference", Text(d.FileId[Index(DataSet::Reference)][at])},
               {"sample", Text(d.FileId[Index(SampleOf(pair))][at])}};
    }
    Json entry = {
        {"complete", check.complete},
        {"ids_compared", check.idsCompared},
        {"id_mismatches", check.idMismatches},
        {"first_mismatch", std::move(first)},
        {"counts_differ", check.countsDiffer},
        {"conditions_differ",
         check.complete && ConditionsDiffer(state.sets[0], state.sets[Index(SampleOf(pair))])}};
    AddPairMap(entry, state.Map(pair));
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
                      {"stat", std::string(StatisticKey(check.tolerance.statistic))},
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
  const WindowRecord& r = state.record;
  Json doc = {
      {"version", std::string(kVersionText)},
      {"sets", Sets(state)},
      {"patch_id", PatchIds(state)},
      {"pairs", Pairs(state)},
      {"thresholds", Thresholds(state.Data())},
      {"captions", {{"under", r.ChkBest}, {"over", r.ChkWorst}}},
      {"count_labels", r.Lb_NoP},
      {"chart", {{"rows", state.chart.ChartRows}, {"cols", state.chart.ChartCols}}},
      {"grid", Grid(r.FlexG)},
      {"pairing", Pairing(state)},
      {"verdict", VerdictOf(verdict)},
  };
  return LayOutJson(doc);
}

}  // namespace korimo
