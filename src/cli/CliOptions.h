#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/Criteria.h"
#include "app/Indices.h"
#include "app/PairingMap.h"
#include "app/PanelSettings.h"
#include "app/Run.h"
#include "cli/Tolerance.h"
#include "export/HtmlReport.h"

namespace korimo {

enum class CliAction { Run, Help, Version, RunSheets, RunHelp };
enum class OutputFormat { Results, Json, Html };
enum class TextEncoding { Cp932, Utf8 };

enum class RunFormat { Csv, Json, Html };

// `korimo-cli run REFERENCE [SHEET...]` once understood.
struct RunCommandOptions {
  std::string reference;
  // The SHEET arguments, then the lines of --sheets-from, as given.
  std::vector<std::string> sheets;
  std::optional<std::string> sheetsFrom;
  RunOrder order = RunOrder::Given;
  PairingMode pairBy = PairingMode::Position;
  std::vector<CriteriaSet> checks;      // --check, in the order given
  std::vector<std::string> checkTexts;  // as written
  Metric metric = Metric::De00;
  std::optional<double> minPass;  // percent
  TextEncoding encoding = TextEncoding::Cp932;
  std::optional<std::string> outputPath;
  RunFormat format = RunFormat::Csv;
  ReportJob job;
};

// The command line of korimo-cli once it has been understood. Defaults are
// those of a freshly started window.
struct CliOptions {
  CliAction action = CliAction::Run;
  OutputFormat format = OutputFormat::Results;
  TextEncoding encoding = TextEncoding::Cp932;
  PanelSettings panel;
  int sortKey = 0;
  std::optional<std::string> outputPath;
  std::vector<Tolerance> tolerances;  // --tolerance, in the order given
  bool strictIds = false;             // a pair whose files do not match fails the run
  ReportJob job;                      // --report-title, --report-operator, --report-note
  ReportPatches reportPatches = ReportPatches::Worst;
  PairingMode pairBy = PairingMode::Position;
  std::vector<CriteriaSet> checks;  // --check, in the order given
  // Reference, File1, File2 in that order; an empty entry chooses no file.
  std::vector<std::string> files;
  RunCommandOptions run;  // for CliAction::RunSheets
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // empty when the command line is usable
  bool ok() const { return error.empty(); }
};

// The criteria files the command line reads: inputs, like the measurement
// files, that the output must not replace.
std::vector<std::string> CriteriaFilePaths(const CliOptions& options);

// `args` excludes the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageLine();
std::string HelpText();
std::string RunUsageLine();
std::string RunHelpText();

}  // namespace korimo
