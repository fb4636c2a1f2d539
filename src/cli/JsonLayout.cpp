#include "cli/JsonLayout.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/Common.h"

namespace korimo {

namespace {

using Json = nlohmann::ordered_json;

void NewLine(std::string& out, int depth) {
  out += '\n';
  out.append(static_cast<std::size_t>(2 * depth), ' ');
}

template <typename T>
void AppendNumber(std::string& out, T value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

void AppendScalar(std::string& out, const Json& value) {
  switch (value.type()) {
    case Json::value_t::number_float: {
      const double number = value.get<double>();
      if (std::isfinite(number))
        out += ShortestDecimal(number);
      else
        out += "null";
      return;
    }
    case Json::value_t::number_integer:
      AppendNumber(out, value.get<std::int64_t>());
      return;
    case Json::value_t::number_unsigned:
      AppendNumber(out, value.get<std::uint64_t>());
      return;
    default:
      out += value.dump();  // strings (escaped by the library), booleans, null
      return;
  }
}

void Append(std::string& out, const Json& value, int depth) {
  if (value.is_object()) {
    out += '{';
    for (auto it = value.begin(); it != value.end(); ++it) {
      if (it != value.begin())
        out += ',';
      NewLine(out, depth + 1);
      out += Json(it.key()).dump();
      out += ": ";
      Append(out, it.value(), depth + 1);
    }
    if (!value.empty())
      NewLine(out, depth);
    out += '}';
    return;
  }
  if (value.is_array()) {
    out += '[';
    bool broken = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const Json& element = value[i];
      if (i > 0)
        out += ',';
      if (element.is_structured()) {
        NewLine(out, depth + 1);
        broken = true;
      } else if (i > 0) {
        out += ' ';
      }
      Append(out, element, depth + 1);
    }
    if (broken)
      NewLine(out, depth);
    out += ']';
    return;
  }
  AppendScalar(out, value);
}

}  // namespace

void AppendJson(std::string& out, const Json& value, int depth) {
  Append(out, value, depth);
}

std::string LayOutJson(const Json& document) {
  std::string out;
  Append(out, document, 0);
  out += '\n';
  return out;
}

}  // namespace korimo
