#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <array>

#include <charconv>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <string_view>
#include <system_error>
#include <utility>

namespace korimo {

namespace {

constexpr int kMaxFiles = 3;
constexpr std::string_view kRunCommand = "run";
constexpr int kSortLimit = 14;  // the grid's last column code

// The option values as written; they are checked once the line is parsed,
// so every bad value is named in the same words.
struct RawValues {
  std::string output, format, encoding, sort, metric, under, over, pairBy;
  std::vector<std::string> tolerances;
  std::vector<std::string> checks;
  bool strictIds = false;
  bool help = false;
  bool version = false;
};

std::string InvalidValue(std::string_view name, std::string_view value, std::string_view allowed) {
  return "invalid value '" + std::string(value) + "' for " + std::string(name) + " (" +
         std::string(allowed) + ")";
}

// Only a plain decimal integer with an optional minus sign is a number here:
// "+3", " 3", "3.0" and "3x" are all refused rather than half-read.
std::string ParseBounded(std::string_view name, const std::string& text, int low, int high,
                         int& out) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) {
    return InvalidValue(name, text,
                        "an integer from " + std::to_string(low) + " to " + std::to_string(high));
  }
  out = value;
  return {};
}

std::string BuiltInIds() {
  std::string ids;
  const auto sets = BuiltInCriteriaSets();
  for (std::size_t i = 0; i < sets.size(); ++i)
    ids += (i == 0 ? "" : i + 1 == sets.size() ? " or " : ", ") + sets[i].id;
  return ids;
}

// A built-in id, or a criteria file that reads without error; CLI11 names
// the option in front of the message.
CLI::Validator CriteriaSetValidator() {
  return CLI::Validator(
      [](const std::string& value) -> std::string {
        CriteriaError error;
        if (ResolveCriteriaSet(value, error))
          return {};
        if (error.code == CriteriaErrorCode::Unreadable) {
          return "'" + value + "' is neither a built-in set (" + BuiltInIds() +
                 ") nor a readable criteria file";
        }
        return "criteria file '" + value + "': " + ErrorText(error, Language::English);
      },
      "");
}

// A CLI11 validator that reads a value into its option with our own
// message on failure, which names the option and what it takes.
CLI::Validator Reads(std::string description, std::function<std::string(const std::string&)> read) {
  return CLI::Validator([read](std::string& value) { return read(value); }, std::move(description));
}

template <typename E>
CLI::Validator Choice(std::string_view name,
                      std::initializer_list<std::pair<std::string_view, E>> choices, E& out) {
  std::string names;
  for (const auto& [text, choice] : choices)
    names += (names.empty() ? "" : "|") + std::string(text);
  const std::vector<std::pair<std::string_view, E>> list(choices);
  return Reads(names, [name, list, &out](const std::string& value) {
    std::string known;
    for (const auto& [text, choice] : list) {
      if (text == value) {
        out = choice;
        return std::string();
      }
      known += known.empty() ? std::string(text) : " or " + std::string(text);
    }
    return InvalidValue(name, value, known);
  });
}

CLI::Validator Range(std::string_view name, int low, int high, int& out) {
  return Reads(std::to_string(low) + ".." + std::to_string(high),
               [name, low, high, &out](const std::string& value) {
                 return ParseBounded(name, value, low, high, out);
               });
}

// The options both commands take; each command says in its help what they
// mean for it.
void AddOutput(CLI::App& app, std::string& raw, std::string help) {
  app.add_option("-o,--output", raw, std::move(help))
      ->type_name("FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void AddEncoding(CLI::App& app, std::string& raw, TextEncoding& out, std::string help) {
  app.add_option("--encoding", raw, std::move(help))
      ->type_name("ENC")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(Choice<TextEncoding>(
          "--encoding", {{"cp932", TextEncoding::Cp932}, {"utf-8", TextEncoding::Utf8}}, out));
}

void AddPairBy(CLI::App& app, std::string& raw, PairingMode& out, std::string help) {
  app.add_option("--pair-by", raw, std::move(help))
      ->type_name("MODE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->check(Choice<PairingMode>("--pair-by",
                                  {{PairingModeKey(PairingMode::Position), PairingMode::Position},
                                   {PairingModeKey(PairingMode::Id), PairingMode::Id},
                                   {PairingModeKey(PairingMode::Device), PairingMode::Device}},
                                  out));
}

void AddCheck(CLI::App& app, std::vector<std::string>& raw, std::string help) {
  app.add_option("--check", raw, std::move(help))
      ->type_name("SET")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(CriteriaSetValidator());
}

// The report's job fields; `help` for title, operator and note.
void AddJobFields(CLI::App& app, ReportJob& job, const std::array<std::string, 3>& help) {
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app.add_option("--report-title", job.title, help[0])->type_name("T")->multi_option_policy(last);
  app.add_option("--report-operator", job.operator_, help[1])
      ->type_name("O")
      ->multi_option_policy(last);
  app.add_option("--report-note", job.note, help[2])->type_name("N")->multi_option_policy(last);
}

// Every option takes a value in its own argument or after "=", and the
// last occurrence counts, as is usual for command-line tools. The
// descriptions are the help text.
void Declare(CLI::App& app, RawValues& raw, CliOptions& o) {
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app.set_help_flag();
  app.add_flag("-h,--help", raw.help, "show this help and exit");
  app.add_flag("--version", raw.version, "show the version and exit");
  AddOutput(app, raw.output,
            "write to FILE (replaced only once complete) instead of standard output");
  app.add_option("--format", raw.format,
                 "results (default): the results text of the data page, tab-separated, CR LF "
                 "line ends; json: every figure, label and grid row as one UTF-8 JSON object; "
                 "html: a report to print on A4 (one self-contained UTF-8 page)")
      ->type_name("FORMAT")
      ->multi_option_policy(last)
      ->check(Choice<OutputFormat>("--format",
                                   {{"results", OutputFormat::Results},
                                    {"json", OutputFormat::Json},
                                    {"html", OutputFormat::Html}},
                                   o.format));
  AddEncoding(app, raw.encoding, o.encoding,
              "encoding of the results text: cp932 (default) or utf-8; JSON is always UTF-8");
  app.add_option("--sort", raw.sort,
                 "grid sort key: 0 and 1 patch order, |K| the column code, negative "
                 "descending (default 0)")
      ->type_name("K")
      ->multi_option_policy(last)
      ->check(Range("--sort", -kSortLimit, kSortLimit, o.sortKey));
  app.add_option("--metric", raw.metric, "threshold metric: de (dE*ab, default) or de00")
      ->type_name("M")
      ->multi_option_policy(last)
      ->check(Choice<Metric>("--metric", {{"de", Metric::DeAb}, {"de00", Metric::De00}},
                             o.panel.metric));
  app.add_option("--under", raw.under, "Under slider position (default 2)")
      ->type_name("U")
      ->multi_option_policy(last)
      ->check(Range("--under", 0, kSliderMax, o.panel.under));
  app.add_option("--over", raw.over, "Over slider position (default 15)")
      ->type_name("O")
      ->multi_option_policy(last)
      ->check(Range("--over", 0, kSliderMax, o.panel.over));
  app.add_option("--tolerance", raw.tolerances,
                 "a check for every complete pair, repeatable: METRIC de or de00, STAT avg, "
                 "max, best10 or pct95 (the figures of the statistics frames), LIMIT a decimal "
                 "number of 0 or more; a value equal to the limit passes, best10 and pct95 need "
                 "a Reference of at least 15 patches. Example: --tolerance de00:avg<=2.5")
      ->type_name("METRIC:STAT<=LIMIT")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(Reads("", [&o](const std::string& text) {
        std::string error;
        if (const std::optional<Tolerance> tolerance = ParseTolerance(text, error))
          o.tolerances.push_back(*tolerance);
        return error;
      }));
  AddCheck(app, raw.checks,
           "verify every complete pair against a criteria set, repeatable: " + BuiltInIds() +
               ", or a criteria file (UTF-8, one ROLE:METRIC:STAT<=LIMIT a line, \"#\" "
               "comments, \"name: ...\"). ROLE all, mw3, paper, solids, solids-cmy, "
               "overprints or grey (found by the Reference's CMYK values); METRIC de, de00, "
               "dl, dc, dh or dch; STAT avg, max, pct95 or best10. A value as shown to two "
               "decimals equal to the limit passes. Not a certification of conformance.");
  app.add_flag("--strict-ids", raw.strictIds,
               "fail (status 4) when the two files of a pair hold different patch counts or, "
               "both having identifiers, different identifiers at some position; with --pair-by "
               "id or device, when a patch of either file is unpaired, the mode fell back to "
               "position, or ID-paired patches have different device values");
  AddPairBy(app, raw.pairBy, o.pairBy,
            "how patches of a pair meet: position (default, the n-th with the n-th), id "
            "(equal whole SAMPLE_NAME, else SAMPLE_ID) or device (CMYK or RGB values within "
            "0.01; repeated recipes in file order); only paired patches are compared, and a "
            "pair the mode cannot pair is compared by position");
  app.add_option("--report-patches", o.reportPatches,
                 "patches listed in the html report: worst (default, the 20 largest dE00 of each "
                 "pair) or all")
      ->type_name("P")
      ->transform(
          CLI::CheckedTransformer(std::map<std::string, ReportPatches>{
                                      {"worst", ReportPatches::Worst}, {"all", ReportPatches::All}})
              .description("worst|all"))
      ->multi_option_policy(last);
  AddJobFields(app, o.job,
               {"job title (件名) at the head of the html report",
                "operator (担当者) in the html report", "note (メモ) in the html report"});
  app.add_option("files", o.files, "REFERENCE [FILE1 [FILE2]]; \"\" chooses no file for a set")
      ->expected(0, kMaxFiles);
}

struct RunRawValues {
  std::vector<std::string> positionals;
  std::string output, format, encoding, metric, pairBy, order, minPass, sheetsFrom;
  std::vector<std::string> checks;
  bool help = false;
};

void DeclareRun(CLI::App& run, RunRawValues& raw, RunCommandOptions& o) {
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  run.set_help_flag();
  run.add_flag("-h,--help", raw.help, "show this help and exit");
  AddOutput(run, raw.output,
            "write to FILE (replaced only once the run is complete) instead of standard output");
  run.add_option("--format", raw.format,
                 "csv (default): one row per sheet, RFC 4180, CR LF line ends; json: the sheets, "
                 "the run statistics and the per-patch statistics as one UTF-8 JSON object; "
                 "html: the run report, one self-contained page for A4 paper")
      ->type_name("FORMAT")
      ->multi_option_policy(last)
      ->check(Choice<RunFormat>(
          "--format",
          {{"csv", RunFormat::Csv}, {"json", RunFormat::Json}, {"html", RunFormat::Html}},
          o.format));
  AddEncoding(run, raw.encoding, o.encoding,
              "encoding of the csv: cp932 (default) or utf-8; JSON is always UTF-8");
  AddPairBy(run, raw.pairBy, o.pairBy,
            "how each sheet's patches meet the Reference's: position (default), id or device, "
            "as for a single comparison");
  AddCheck(run, raw.checks,
           "verify every sheet against a criteria set, repeatable: " + BuiltInIds() +
               ", or a criteria file, as for a single comparison");
  run.add_option("--metric", raw.metric,
                 "the difference the report's trend plot shows: de00 (default) or de")
      ->type_name("M")
      ->multi_option_policy(last)
      ->check(Choice<Metric>("--metric", {{"de00", Metric::De00}, {"de", Metric::DeAb}}, o.metric));
  run.add_option("--min-pass", raw.minPass,
                 "with --check: status 4 when a set passes on fewer than PERCENT (0 to 100) of "
                 "the compared sheets, instead of when any compared sheet fails")
      ->type_name("PERCENT")
      ->multi_option_policy(last)
      ->check(Reads("0..100", [&o](const std::string& text) {
        const std::optional<double> value = ParsePlainDecimal(text);
        if (!value || *value > 100)
          return InvalidValue("--min-pass", text, "a percentage from 0 to 100");
        o.minPass = *value;
        return std::string();
      }));
  run.add_option("--sheets-from", raw.sheetsFrom,
                 "more sheets, after the SHEET arguments: FILE holds one path a line (UTF-8), a "
                 "relative one taken from FILE's folder")
      ->type_name("FILE")
      ->multi_option_policy(last);
  run.add_option("--order", raw.order,
                 "the run's order: args (default, as given), name (by file name) or mtime (by "
                 "modification time)")
      ->type_name("ORDER")
      ->multi_option_policy(last)
      ->check(Choice<RunOrder>("--order",
                               {{"args", RunOrder::Given},
                                {"name", RunOrder::Name},
                                {"mtime", RunOrder::ModificationTime}},
                               o.order));
  AddJobFields(run, o.job,
               {"job title (件名) of the run report", "operator (担当者) of the run report",
                "note (メモ) of the run report"});
  run.add_option("files", raw.positionals,
                 "REFERENCE, then the sheets; a folder stands for the files in it, by name");
}

std::string ReadSheetList(const std::string& path, std::vector<std::string>& sheets) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > static_cast<std::streamoff>(kMaxSheetListBytes))
      return "--sheets-from: '" + path + "' is larger than a list of sheets can be";
    in.seekg(0);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (!in && !in.eof())
    return "--sheets-from: cannot read '" + path + "'";
  const std::vector<std::string> listed = ParseSheetList(text, path);
  sheets.insert(sheets.end(), listed.begin(), listed.end());
  return {};
}

std::string ApplyRun(const CLI::App& run, const RunRawValues& raw, RunCommandOptions& o) {
  if (run.count("--output") > 0) {
    if (raw.output.empty())
      return "empty file name for --output";
    o.outputPath = raw.output;
  }
  for (const std::string& text : raw.checks) {
    CriteriaError error;
    std::optional<CriteriaSet> set = ResolveCriteriaSet(text, error);
    if (!set)
      return "--check: criteria file '" + text + "': " + ErrorText(error, Language::English);
    o.checks.push_back(std::move(*set));
    o.checkTexts.push_back(text);
  }
  if (o.minPass && o.checks.empty())
    return "--min-pass needs --check";
  if (raw.positionals.empty())
    return "no REFERENCE file given";
  o.reference = raw.positionals.front();
  o.sheets.assign(raw.positionals.begin() + 1, raw.positionals.end());
  if (run.count("--sheets-from") > 0) {
    o.sheetsFrom = raw.sheetsFrom;
    return ReadSheetList(raw.sheetsFrom, o.sheets);
  }
  return {};
}

// `korimo-cli run ...`: a subcommand only in the first place, so that a
// single comparison's files may still be named anything but that.
ParsedCommandLine ParseRunCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  CliOptions& o = result.options;
  CLI::App app;
  RawValues raw;
  Declare(app, raw, o);
  CLI::App* run = app.add_subcommand("run");
  RunRawValues runRaw;
  DeclareRun(*run, runRaw, o.run);
  o.action = CliAction::RunSheets;
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (!runRaw.help) {
      result.error = e.what();
      return result;
    }
  }
  if (runRaw.help) {
    o.action = CliAction::RunHelp;
    return result;
  }
  result.error = ApplyRun(*run, runRaw, o.run);
  return result;
}

// What CLI11 cannot check while it parses: the output name, and the criteria
// files once more, since a file may change after its check.
std::string Apply(const CLI::App& app, const RawValues& raw, CliOptions& o) {
  if (app.count("--output") > 0) {
    if (raw.output.empty())
      return "empty file name for --output";
    o.outputPath = raw.output;
  }
  for (const std::string& text : raw.checks) {
    CriteriaError error;
    std::optional<CriteriaSet> set = ResolveCriteriaSet(text, error);
    // Validated while parsing; a file changed since reads as the error it has now.
    if (!set)
      return "--check: criteria file '" + text + "': " + ErrorText(error, Language::English);
    o.checks.push_back(std::move(*set));
  }
  o.strictIds = raw.strictIds;
  return {};
}

// A check that follows the value of --tolerance without its own
// --tolerance would be taken as a file: `--tolerance A B`, or a check the
// shell split at a blank. Such an argument names no file a user would have.
bool LooksLikeCheck(std::string_view arg) {
  return arg.find("<=") != std::string_view::npos || arg.starts_with("de:") ||
         arg.starts_with("de00:");
}

std::string StrayCheck(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--")
      return {};
    std::size_t next = 0;
    if (args[i] == "--tolerance")
      next = i + 2;
    else if (args[i].starts_with("--tolerance="))
      next = i + 1;
    if (next > 0 && next < args.size() && !args[next].starts_with("-") &&
        LooksLikeCheck(args[next])) {
      return "unexpected argument " + args[next] + ": quote each check";
    }
  }
  return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  if (!args.empty() && args.front() == kRunCommand)
    return ParseRunCommandLine(args);
  ParsedCommandLine result;
  CliOptions& o = result.options;
  CLI::App app;
  RawValues raw;
  Declare(app, raw, o);
  // CLI11 takes the arguments last to first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  if (std::string stray = StrayCheck(args); !stray.empty()) {
    result.error = std::move(stray);
    return result;
  }
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    // The help and version flags are declared first, so they are set before
    // any later value is refused.
    if (!raw.help && !raw.version) {
      result.error = e.what();
      return result;
    }
  }
  // Help and version are answered whatever else the line holds.
  if (raw.help || raw.version) {
    o.action = raw.help ? CliAction::Help : CliAction::Version;
    return result;
  }
  result.error = Apply(app, raw, o);
  if (result.ok() && o.files.empty())
    result.error = "no REFERENCE file given";
  return result;
}

std::vector<std::string> CriteriaFilePaths(const CliOptions& options) {
  std::vector<std::string> paths;
  for (const CriteriaSet& set : options.checks) {
    if (!set.path.empty())
      paths.push_back(set.path);
  }
  return paths;
}

std::string UsageLine() {
  return "Usage: korimo-cli [OPTIONS] REFERENCE [FILE1 [FILE2]]";
}

std::string HelpText() {
  CLI::App app(
      "Compares CIELAB measurement files as the Korimo window does when REFERENCE, FILE1 and "
      "FILE2 are chosen with its file buttons, and writes what the window would show.",
      "korimo-cli");
  RawValues raw;
  CliOptions ignored;
  Declare(app, raw, ignored);
  app.footer(R"(Options also take the form --option=value; -- ends the options.

korimo-cli run REFERENCE [SHEET...] compares every sheet of a run with one
Reference; 'korimo-cli run --help' tells more. A Reference file named run
is given as ./run.

Standard error names every pair whose files do not match and every check
that failed.

Exit status, the first that applies:
  2  usage error
  3  the output could not be written, or FILE was refused: it is one of the
     input files (by any name or link), or an existing read-only file, or a
     folder; an existing FILE is left untouched and no temporary file remains
  1  a file given yielded no patches (named on standard error, with the
     reason); the output is still written and shows what the window would
     show. Also when memory ran out: then nothing is written
  4  a --tolerance check or a --check criterion failed or was not evaluated,
     or with --strict-ids a pair's files do not match or do not pair
     completely
  0  otherwise)");
  return app.help();
}

std::string RunUsageLine() {
  return "Usage: korimo-cli run [OPTIONS] REFERENCE [SHEET...]";
}

std::string RunHelpText() {
  CLI::App app(
      "Compares every sheet of a run with one Reference (the OK sheet), each as 'korimo-cli "
      "REFERENCE SHEET' compares it, and writes a row per sheet with the drift from the previous "
      "compared sheet, and with --format json the run statistics.",
      "korimo-cli run");
  RunRawValues raw;
  RunCommandOptions ignored;
  DeclareRun(app, raw, ignored);
  app.footer(R"(Options also take the form --option=value; -- ends the options. A
Reference file named run is given as ./run: 'korimo-cli run' starts a run.

A sheet is compared, or excluded when a single comparison would warn that
its file does not match the Reference or that the pairing mode fell back
(its figures are shown, it counts in no run statistic), or refused when it
yields no patches. Standard error names each excluded and refused sheet.
Nothing is written before every sheet has been read.

Exit status, the first that applies:
  2  usage error
  3  the output could not be written, or FILE was refused: it is one of the
     inputs (the Reference, a sheet, the list, a criteria file), a read-only
     file or a folder
  1  the Reference or a sheet yielded no patches; the output is still written
  4  without --min-pass: a --check failed on some compared sheet; with
     --min-pass: some set passes on fewer than PERCENT of the compared sheets
  0  otherwise)");
  return app.help();
}

}  // namespace korimo
