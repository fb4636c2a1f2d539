#include "export/RunCsv.h"

#include "core/Common.h"

namespace korimo {

namespace {

// A field with a comma, quote or line break is quoted, its quotes doubled.
void AppendField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendNumber(std::string& out, const std::optional<double>& value) {
  if (value)
    AppendTwoDec(out, *value);
}

}  // namespace

std::string BuildRunCsv(const RunAccumulator& run, Language language) {
  const std::vector<CriteriaSet>& sets = run.Options().checks;
  std::string out = "no,file,mtime,status,reason,paired";
  for (const std::string_view key : kRunFigureKeys) {
    out += ',';
    out += key;
  }
  out += ",paper_de00,solid_c_de00,solid_m_de00,solid_y_de00,solid_k_de00,drift_de00";
  for (const CriteriaSet& set : sets) {
    out += ',';
    AppendField(out, set.name + " pass");
    out += ',';
    AppendField(out, set.name + " failed");
  }
  out += "\r\n";
  int no = 0;
  for (const SheetRow& row : run.Rows()) {
    out += std::to_string(++no);
    out += ',';
    AppendField(out, row.file);
    out += ',';
    if (row.mtime)
      out += IsoUtcTime(*row.mtime);
    out += ',';
    out += StatusKey(row.status);
    out += ',';
    AppendField(out, language == Language::Japanese ? row.reasonJa : row.reason);
    out += ',';
    if (row.paired)
      out += std::to_string(*row.paired);
    for (const std::optional<double>& figure : row.figures) {
      out += ',';
      AppendNumber(out, figure);
    }
    out += ',';
    AppendNumber(out, row.paper);
    for (const std::optional<double>& solid : row.solids) {
      out += ',';
      AppendNumber(out, solid);
    }
    out += ',';
    AppendNumber(out, row.drift);
    for (std::size_t k = 0; k < sets.size(); ++k) {
      out += ',';
      if (k < row.verdicts.size())
        out += row.verdicts[k].pass ? "pass" : "fail";
      out += ',';
      std::string failed;
      if (k < row.verdicts.size()) {
        for (const std::string& criterion : row.verdicts[k].failed)
          failed += (failed.empty() ? "" : ";") + criterion;
      }
      AppendField(out, failed);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace korimo
