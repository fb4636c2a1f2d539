#include "cli/JsonReport.h"

#include "app/Version.h"
#include "cli/JsonWriter.h"

namespace korimo {

namespace {

template <typename Range>
void NumberArray(JsonWriter& json, const Range& values, int count) {
  json.BeginArray();
  for (int i = 0; i < count; ++i)
    json.Number(values[i]);
  json.EndArray();
}

void WriteSets(JsonWriter& json, const HeadlessWindow& window) {
  const ComparisonData& d = *window.state().data;
  json.Key("sets");
  json.BeginArray();
  for (int s = 0; s < kSets; ++s) {
    json.BeginObject();
    json.Key("path");
    json.String(window.Caption(Ctl::Lb_File, s));
    json.Key("patch_count");
    json.Integer(d.PatchCount[s]);
    json.Key("row_length");
    json.Integer(d.RowLength[s]);
    json.Key("lab");
    json.BeginArray();
    for (int i = 0; i < d.PatchCount[s]; ++i)
      NumberArray(json, d.Lab(s)[i], 3);
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

void WritePatchIds(JsonWriter& json, const ComparisonData& d) {
  json.Key("patch_id");
  json.BeginArray();
  const int n = ShownPatchCount(d);
  for (int i = 0; i < n; ++i)
    json.String(d.PatchId[i]);
  json.EndArray();
}

void Member(JsonWriter& json, std::string_view key, float value) {
  json.Key(key);
  json.Number(value);
}

void Label(JsonWriter& json, std::string_view key, const HeadlessWindow& window, Ctl control,
           int index) {
  json.Key(key);
  json.String(window.Caption(control, index));
}

void WriteDifferences(JsonWriter& json, const ComparisonData& d, int pair) {
  const int n = ShownPatchCount(d);
  json.Key("de_ab");
  json.BeginArray();
  for (int i = 0; i < n; ++i)
    json.Number(d.DeAb[i][pair]);
  json.EndArray();
  json.Key("de00");
  json.BeginArray();
  for (int i = 0; i < n; ++i)
    json.Number(d.De00[i][pair]);
  json.EndArray();
}

void WriteStatistics(JsonWriter& json, const ComparisonData& d, int p) {
  Member(json, "avg_de_ab", d.AvgDeAb[p]);
  Member(json, "max_de_ab", d.MaxDeAb[p]);
  Member(json, "best10_de_ab", d.Best10DeAb[p]);
  Member(json, "pct95_de_ab", d.Pct95DeAb[p]);
  Member(json, "avg_de00", d.AvgDe00[p]);
  Member(json, "max_de00", d.MaxDe00[p]);
  Member(json, "best10_de00", d.Best10De00[p]);
  Member(json, "pct95_de00", d.Pct95De00[p]);
}

void WriteLabels(JsonWriter& json, const HeadlessWindow& window, int p) {
  json.Key("labels");
  json.BeginObject();
  Label(json, "avg_de_ab", window, Ctl::Lb_De, 2 * p);
  Label(json, "max_de_ab", window, Ctl::Lb_De, 2 * p + 1);
  Label(json, "best10_de_ab", window, Ctl::Lb_BestDe, p);
  Label(json, "pct95_de_ab", window, Ctl::Lb_WorsDe, p);
  Label(json, "avg_de00", window, Ctl::Lb_De2K, 2 * p);
  Label(json, "max_de00", window, Ctl::Lb_De2K, 2 * p + 1);
  Label(json, "best10_de00", window, Ctl::Lb_Best2K, p);
  Label(json, "pct95_de00", window, Ctl::Lb_Wors2K, p);
  json.EndObject();
}

void WriteHistogram(JsonWriter& json, const FormState& state, int p) {
  json.Key("hist_count");
  json.BeginArray();
  for (const std::int32_t count : state.HistCount[p])
    json.Integer(count);
  json.EndArray();
  json.Key("hist_value");
  json.BeginArray();
  for (const float value : state.HistValue[p])
    json.Number(value);
  json.EndArray();
}

void WritePairs(JsonWriter& json, const HeadlessWindow& window) {
  const FormState& state = window.state();
  json.Key("pairs");
  json.BeginArray();
  for (int p = 0; p < kPairs; ++p) {
    json.BeginObject();
    WriteDifferences(json, *state.data, p);
    WriteStatistics(json, *state.data, p);
    WriteLabels(json, window, p);
    WriteHistogram(json, state, p);
    Label(json, "under_percent", window, Ctl::Lb_UPar, p);
    Label(json, "over_percent", window, Ctl::Lb_OPar, p);
    json.EndObject();
  }
  json.EndArray();
}

void WriteThresholds(JsonWriter& json, const ComparisonData& d) {
  json.Key("thresholds");
  json.BeginObject();
  Member(json, "under_de_ab", d.UnderDeAb);
  Member(json, "over_de_ab", d.OverDeAb);
  Member(json, "under_de00", d.UnderDe00);
  Member(json, "over_de00", d.OverDe00);
  json.EndObject();
}

void WriteCaptions(JsonWriter& json, const HeadlessWindow& window) {
  json.Key("captions");
  json.BeginObject();
  Label(json, "under", window, Ctl::ChkBest, 0);
  Label(json, "over", window, Ctl::ChkWorst, 0);
  json.EndObject();
  json.Key("count_labels");
  json.BeginArray();
  for (int s = 0; s < kSets; ++s)
    json.String(window.Caption(Ctl::Lb_NoP, s));
  json.EndArray();
}

void WriteChart(JsonWriter& json, const ChartGeometry& chart) {
  json.Key("chart");
  json.BeginObject();
  json.Key("rows");
  json.Integer(chart.ChartRows);
  json.Key("cols");
  json.Integer(chart.ChartCols);
  json.EndObject();
}

void WriteGrid(JsonWriter& json, const std::vector<GridRow>& rows) {
  json.Key("grid");
  json.BeginArray();
  for (const GridRow& row : rows) {
    json.BeginArray();
    for (const std::string& cell : row)
      json.String(cell);
    json.EndArray();
  }
  json.EndArray();
}

}  // namespace

std::string BuildJsonReport(const HeadlessWindow& window) {
  const FormState& state = window.state();
  JsonWriter json;
  json.BeginObject();
  json.Key("version");
  json.String(kVersionText);
  WriteSets(json, window);
  WritePatchIds(json, *state.data);
  WritePairs(json, window);
  WriteThresholds(json, *state.data);
  WriteCaptions(json, window);
  WriteChart(json, state.chart);
  WriteGrid(json, window.GridDataRows());
  json.EndObject();
  return json.Text();
}

}  // namespace korimo
