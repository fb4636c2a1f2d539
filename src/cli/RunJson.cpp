#include "cli/RunJson.h"

#include "cli/JsonLayout.h"
#include "core/Common.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

using Json = nlohmann::ordered_json;

Json Text(const std::string& text) {
  return ToValidUtf8(text);
}

Json Optional(const std::optional<double>& value) {
  return value ? Json(*value) : Json(nullptr);
}

template <typename T>
Json OptionalInt(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

// As the single comparison's JSON writes a figure: its 32-bit value.
Json Figure(const std::optional<double>& value) {
  return value ? Json(static_cast<double>(NarrowToSingle(*value))) : Json(nullptr);
}

std::string_view EncodingKey(TextEncoding encoding) {
  return encoding == TextEncoding::Cp932 ? "cp932" : "utf-8";
}

std::string_view OrderKey(RunOrder order) {
  switch (order) {
    case RunOrder::Given:
      return "args";
    case RunOrder::Name:
      return "name";
    case RunOrder::ModificationTime:
      break;
  }
  return "mtime";
}

std::string_view FormatKey(RunFormat format) {
  switch (format) {
    case RunFormat::Csv:
      return "csv";
    case RunFormat::Json:
      return "json";
    case RunFormat::Html:
      break;
  }
  return "html";
}

Json OptionsOf(const RunCommandOptions& o) {
  Json checks = Json::array();
  for (const std::string& check : o.checkTexts)
    checks.push_back(Text(check));
  return {{"pair_by", std::string(PairingModeKey(o.pairBy))},
          {"check", std::move(checks)},
          {"metric", o.metric == Metric::De00 ? "de00" : "de"},
          {"min_pass", Optional(o.minPass)},
          {"sheets_from", o.sheetsFrom ? Text(*o.sheetsFrom) : Json(nullptr)},
          {"order", std::string(OrderKey(o.order))},
          {"encoding", std::string(EncodingKey(o.encoding))},
          {"output", o.outputPath ? Text(*o.outputPath) : Json(nullptr)},
          {"format", std::string(FormatKey(o.format))},
          {"report_title", Text(o.job.title)},
          {"report_operator", Text(o.job.operator_)},
          {"report_note", Text(o.job.note)}};
}

Json SheetOf(const SheetRow& row, const std::vector<CriteriaSet>& sets) {
  const bool refused = row.status == SheetStatus::Refused;
  Json figures = nullptr;
  if (!refused) {
    figures = Json::object();
    for (std::size_t k = 0; k < kRunFigureKeys.size(); ++k)
      figures[std::string(kRunFigureKeys[k])] = Figure(row.figures[k]);
  }
  Json solids = Json::object();
  for (std::size_t k = 0; k < kRunSolids.size(); ++k)
    solids[std::string(kRunSolids[k])] = Optional(row.solids[k]);
  Json verdicts = Json::array();
  for (std::size_t k = 0; k < row.verdicts.size() && k < sets.size(); ++k) {
    Json failed = Json::array();
    for (const std::string& criterion : row.verdicts[k].failed)
      failed.push_back(Text(criterion));
    verdicts.push_back({{"name", Text(sets[k].name)},
                        {"pass", row.verdicts[k].pass},
                        {"failed", std::move(failed)}});
  }
  return {{"file", Text(row.file)},
          {"mtime", row.mtime ? Json(IsoUtcTime(*row.mtime)) : Json(nullptr)},
          {"status", std::string(StatusKey(row.status))},
          {"reason", row.reason.empty() ? Json(nullptr) : Text(row.reason)},
          {"paired", refused ? Json(nullptr) : OptionalInt(row.paired)},
          {"figures", std::move(figures)},
          {"paper_de00", Optional(row.paper)},
          {"solids_de00", std::move(solids)},
          {"drift_de00", Optional(row.drift)},
          {"verdicts", std::move(verdicts)}};
}

Json RunOf(const RunStatistics& s, const std::vector<CriteriaSet>& sets) {
  Json figures = Json::object();
  for (std::size_t k = 0; k < kRunStatisticKeys.size(); ++k) {
    const RunSummary& f = s.figures[k];
    figures[std::string(kRunStatisticKeys[k])] = {{"mean", Optional(f.mean)},
                                                  {"sd", Optional(f.sd)},
                                                  {"min", Optional(f.min)},
                                                  {"max", Optional(f.max)},
                                                  {"min_sheet", OptionalInt(f.minSheet)},
                                                  {"max_sheet", OptionalInt(f.maxSheet)}};
  }
  Json shares = Json::array();
  for (std::size_t k = 0; k < sets.size() && k < s.passShare.size(); ++k)
    shares.push_back({{"name", Text(sets[k].name)}, {"share", Optional(s.passShare[k])}});
  return {{"sheets_given", s.given},       {"compared", s.compared},
          {"excluded", s.excluded},        {"refused", s.refused},
          {"figures", std::move(figures)}, {"pass_share", std::move(shares)}};
}

Json PatchOf(const PatchSummary& p, const Measurement* reference, std::size_t i) {
  const bool named = reference != nullptr && i < reference->ids.values.size();
  return {{"id", named ? Text(reference->ids.values[i]) : Json(nullptr)},
          {"mean_de00", Optional(p.meanDe00)},
          {"sd_l", Optional(p.sdL)},
          {"sd_a", Optional(p.sdA)},
          {"sd_b", Optional(p.sdB)}};
}

}  // namespace

// Laid out a member at a time, the sheets and patches one by one: the whole
// document of a long run as one tree would hold several times its text.
std::string BuildRunJson(const RunAccumulator& run, const RunCommandOptions& options) {
  const std::vector<CriteriaSet>& sets = run.Options().checks;
  const RunStatistics statistics = run.Statistics();
  std::string out = "{";
  const auto member = [&out](std::string_view key) {
    out += out.size() > 1 ? ",\n  " : "\n  ";
    out += Json(key).dump();
    out += ": ";
  };
  const auto list = [&out](std::size_t n, const auto& element) {
    out += '[';
    for (std::size_t i = 0; i < n; ++i) {
      out += i > 0 ? ",\n    " : "\n    ";
      AppendJson(out, element(i), 2);
    }
    out += n > 0 ? "\n  ]" : "]";
  };
  member("reference");
  AppendJson(out, Text(options.reference), 1);
  member("options");
  AppendJson(out, OptionsOf(options), 1);
  member("sheets");
  list(run.Rows().size(), [&](std::size_t i) { return SheetOf(run.Rows()[i], sets); });
  member("run");
  AppendJson(out, RunOf(statistics, sets), 1);
  member("patches");
  const Measurement* reference = run.Reference().reference.get();
  list(statistics.patches.size(),
       [&](std::size_t i) { return PatchOf(statistics.patches[i], reference, i); });
  member("most_variable");
  AppendJson(out, statistics.mostVariable, 1);
  out += "\n}\n";
  return out;
}

}  // namespace korimo
