#include "cli/CliOptions.h"

#include <charconv>
#include <initializer_list>
#include <string_view>
#include <system_error>
#include <utility>

namespace korimo {

namespace {

constexpr int kMaxFiles = 3;
constexpr int kSortLimit = 14;
constexpr int kSliderMax = 20;

enum class Opt { Help, Version, Output, Format, Encoding, Sort, Metric, Under, Over };

struct OptionInfo {
  std::string_view name;
  Opt id;
  bool takesValue;
};

constexpr OptionInfo kOptions[] = {
    {"-h", Opt::Help, false},
    {"--help", Opt::Help, false},
    {"--version", Opt::Version, false},
    {"-o", Opt::Output, true},
    {"--output", Opt::Output, true},
    {"--format", Opt::Format, true},
    {"--encoding", Opt::Encoding, true},
    {"--sort", Opt::Sort, true},
    {"--metric", Opt::Metric, true},
    {"--under", Opt::Under, true},
    {"--over", Opt::Over, true},
};

const OptionInfo* FindOption(std::string_view name) {
  for (const OptionInfo& option : kOptions) {
    if (option.name == name)
      return &option;
  }
  return nullptr;
}

// Only a plain decimal integer with an optional minus sign is a number here:
// "+3", " 3", "3.0" and "3x" are all refused rather than half-read.
std::string ParseBounded(std::string_view name, std::string_view text, int low, int high,
                         int& out) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
    return "invalid value '" + std::string(text) + "' for " + std::string(name) +
           " (an integer from " + std::to_string(low) + " to " + std::to_string(high) + ")";
  }
  out = value;
  return {};
}

// Looks `value` up among the named choices of an option.
template <typename E>
std::string PickChoice(std::string_view name, std::string_view value,
                       std::initializer_list<std::pair<std::string_view, E>> choices, E& out) {
  std::string names;
  for (const auto& [text, choice] : choices) {
    if (text == value) {
      out = choice;
      return {};
    }
    names += names.empty() ? std::string(text) : " or " + std::string(text);
  }
  return "invalid value '" + std::string(value) + "' for " + std::string(name) + " (" + names + ")";
}

std::string ApplyOutput(std::string_view name, std::string_view value, CliOptions& o) {
  if (value.empty())
    return "empty file name for " + std::string(name);
  o.outputPath = std::string(value);
  return {};
}

std::string Apply(const OptionInfo& option, std::string_view value, CliOptions& o) {
  const std::string_view name = option.name;
  switch (option.id) {
    case Opt::Help:
      o.action = CliAction::Help;
      return {};
    case Opt::Version:
      o.action = CliAction::Version;
      return {};
    case Opt::Output:
      return ApplyOutput(name, value, o);
    case Opt::Format:
      return PickChoice(name, value,
                        {{"results", OutputFormat::Results}, {"json", OutputFormat::Json}},
                        o.format);
    case Opt::Encoding:
      return PickChoice(
          name, value, {{"cp932", TextEncoding::Cp932}, {"utf-8", TextEncoding::Utf8}}, o.encoding);
    case Opt::Metric:
      return PickChoice(name, value, {{"de", Metric::DeAb}, {"de00", Metric::De00}}, o.metric);
    case Opt::Sort:
      return ParseBounded(name, value, -kSortLimit, kSortLimit, o.sortKey);
    case Opt::Under:
      return ParseBounded(name, value, 0, kSliderMax, o.under);
    case Opt::Over:
      return ParseBounded(name, value, 0, kSliderMax, o.over);
  }
  return {};
}

bool LooksLikeOption(std::string_view arg) {
  return arg.size() > 1 && arg.front() == '-';
}

// Splits "--name=value" and "-oFILE"; `inlineValue` is set only for those.
std::string_view OptionName(std::string_view arg, std::optional<std::string_view>& inlineValue) {
  if (arg.starts_with("--")) {
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos)
      return arg;
    inlineValue = arg.substr(eq + 1);
    return arg.substr(0, eq);
  }
  if (arg.size() > 2) {
    inlineValue = arg.substr(2);
    return arg.substr(0, 2);
  }
  return arg;
}

std::string CheckFiles(const std::vector<std::string>& files) {
  if (files.empty())
    return "no REFERENCE file given";
  if (files.front().empty())
    return "the REFERENCE file name is empty";
  if (files.size() > kMaxFiles)
    return "too many files (at most REFERENCE, FILE1 and FILE2)";
  return {};
}

}  // namespace

namespace {

// Handles the option at args[i], moving i past a separate value.
std::string TakeOption(const std::vector<std::string>& args, std::size_t& i, CliOptions& o) {
  std::optional<std::string_view> value;
  const std::string_view name = OptionName(args[i], value);
  const OptionInfo* option = FindOption(name);
  if (option == nullptr)
    return "unknown option '" + std::string(name) + "'";
  if (!option->takesValue && value)
    return "option '" + std::string(name) + "' takes no value";
  if (option->takesValue && !value) {
    if (i + 1 >= args.size())
      return "option '" + std::string(name) + "' needs a value";
    value = args[++i];
  }
  return Apply(*option, value.value_or(""), o);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  CliOptions& o = result.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (optionsEnded || !LooksLikeOption(args[i])) {
      o.files.push_back(args[i]);
    } else if (args[i] == "--") {
      optionsEnded = true;
    } else {
      result.error = TakeOption(args, i, o);
      // Help and version are answered whatever else the line holds.
      if (!result.ok() || o.action != CliAction::Run)
        return result;
    }
  }
  result.error = CheckFiles(o.files);
  return result;
}

std::string UsageLine() {
  return "Usage: korimo-cli [OPTIONS] REFERENCE [FILE1 [FILE2]]";
}

std::string HelpText() {
  return UsageLine() + "\n" +
         R"(
Compares CIELAB measurement files as the Korimo window does when REFERENCE,
FILE1 and FILE2 are chosen with its file buttons, and writes what the window
would show. An empty argument ("") chooses no file for that slot.

Options:
  -o, --output FILE     write to FILE (replaced only once complete) instead of
                        standard output
      --format FORMAT   results (default): the results text of the data page,
                        tab-separated, CR LF line ends; json: every figure,
                        label and grid row as one UTF-8 JSON object
      --encoding ENC    encoding of the results text: cp932 (default) or utf-8;
                        JSON is always UTF-8
      --sort K          grid sort key, -14..14: 0 and 1 patch order, |K| the
                        column code, negative descending (default 0)
      --metric M        threshold metric: de (dE*ab, default) or de00
      --under U         Under slider position, 0..20 (default 2)
      --over O          Over slider position, 0..20 (default 15)
  -h, --help            show this help and exit
      --version         show the version and exit
  --                    end of options
Options also take the form --option=value.

Exit status:
  0  every file given yielded at least one patch
  1  a file given yielded no patches (named on standard error); the output is
     still written and shows what the window would show
  2  usage error
  3  the output could not be written (an existing FILE is left untouched)
)";
}

}  // namespace korimo
