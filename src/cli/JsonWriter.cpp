#include "cli/JsonWriter.h"

#include <array>
#include <charconv>
#include <cmath>

namespace korimo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 if none.
std::size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80)
    return 1;
  std::size_t len = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    if (lead == 0xE0)
      low = 0xA0;
    if (lead == 0xED)
      high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    if (lead == 0xF0)
      low = 0x90;
    if (lead == 0xF4)
      high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < len)
    return 0;
  if (byte(1) < low || byte(1) > high)
    return 0;
  for (std::size_t i = 2; i < len; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF)
      return 0;
  }
  return len;
}

void AppendControlEscape(std::string& out, unsigned char c) {
  switch (c) {
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  constexpr std::string_view kHex = "0123456789abcdef";
  out += "\\u00";
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

}  // namespace

void JsonWriter::NewLine(std::size_t depth) {
  out_ += '\n';
  out_.append(depth * 2, ' ');
}

void JsonWriter::BeforeValue(bool isContainer) {
  if (stack_.empty())
    return;
  Level& level = stack_.back();
  // Inside an object, Key() has already placed the separator.
  if (level.kind == Container::Object)
    return;
  if (level.members > 0)
    out_ += ',';
  if (isContainer) {
    NewLine(stack_.size());
    level.broken = true;
  } else if (level.members > 0) {
    out_ += ' ';
  }
  ++level.members;
}

void JsonWriter::Key(std::string_view name) {
  Level& level = stack_.back();
  if (level.members > 0)
    out_ += ',';
  NewLine(stack_.size());
  level.broken = true;
  ++level.members;
  AppendEscaped(name);
  out_ += ": ";
}

void JsonWriter::Open(Container kind, char bracket) {
  BeforeValue(true);
  out_ += bracket;
  stack_.push_back({kind});
}

void JsonWriter::Close(char bracket) {
  const bool broken = stack_.back().broken;
  stack_.pop_back();
  if (broken)
    NewLine(stack_.size());
  out_ += bracket;
  if (stack_.empty())
    out_ += '\n';
}

void JsonWriter::BeginObject() {
  Open(Container::Object, '{');
}
void JsonWriter::EndObject() {
  Close('}');
}
void JsonWriter::BeginArray() {
  Open(Container::Array, '[');
}
void JsonWriter::EndArray() {
  Close(']');
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue(false);
  AppendEscaped(utf8);
}

void JsonWriter::Integer(std::int64_t value) {
  BeforeValue(false);
  std::array<char, 24> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  out_.append(buf.data(), result.ptr);
}

void JsonWriter::Number(double value) {
  BeforeValue(false);
  if (!std::isfinite(value)) {
    out_ += "null";
    return;
  }
  std::array<char, 32> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  out_.append(buf.data(), result.ptr);
}

// Bytes that are not UTF-8 (a path is whatever the command line held) become
// U+FFFD so that the document stays valid.
void JsonWriter::AppendEscaped(std::string_view text) {
  out_ += '"';
  while (!text.empty()) {
    const unsigned char c = static_cast<unsigned char>(text.front());
    const std::size_t len = Utf8SequenceLength(text);
    if (len == 0) {
      out_ += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (c < 0x20) {
      AppendControlEscape(out_, c);
    } else {
      out_.append(text.substr(0, len));
    }
    text.remove_prefix(len);
  }
  out_ += '"';
}

}  // namespace korimo
