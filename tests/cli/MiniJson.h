#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korimo::testing {

// A JSON value as a strict reader sees it. Numbers keep their text so tests
// can check exactly how they were written.
struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;  // string value, or the number as written
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  bool Has(std::string_view key) const {
    for (const auto& m : members) {
      if (m.first == key)
        return true;
    }
    return false;
  }
  const Json& operator[](std::string_view key) const {
    for (const auto& m : members) {
      if (m.first == key)
        return m.second;
    }
    throw std::out_of_range("no member " + std::string(key));
  }
  const Json& operator[](std::size_t i) const { return items.at(i); }
  std::size_t size() const { return kind == Kind::Object ? members.size() : items.size(); }
  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (const auto& m : members)
      keys.push_back(m.first);
    return keys;
  }
  bool IsInteger() const {
    return kind == Kind::Number && text.find_first_of(".eE") == std::string::npos;
  }
};

// Recursive descent over RFC 8259: no trailing commas, no raw control
// characters in strings, no duplicate keys, nothing after the value but
// white space. Returns nullopt for anything else.
class MiniJsonParser {
 public:
  static std::optional<Json> Parse(std::string_view text) {
    MiniJsonParser p(text);
    try {
      Json v = p.Value(0);
      p.Space();
      if (p.pos_ != text.size())
        return std::nullopt;
      return v;
    } catch (const std::runtime_error&) {
      return std::nullopt;
    }
  }

 private:
  explicit MiniJsonParser(std::string_view s) : s_(s) {}

  [[noreturn]] void Fail() const { throw std::runtime_error("bad JSON"); }
  char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  void Expect(char c) {
    if (Peek() != c)
      Fail();
    ++pos_;
  }
  void Space() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t'))
      ++pos_;
  }
  void Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word)
      Fail();
    pos_ += word.size();
  }

  Json Value(int depth) {
    if (depth > 64)
      Fail();
    Space();
    Json v;
    switch (Peek()) {
      case '{':
        return Object(depth);
      case '[':
        return Array(depth);
      case '"':
        v.kind = Json::Kind::String;
        v.text = String();
        return v;
      case 't':
        Literal("true");
        v.kind = Json::Kind::Bool;
        v.boolean = true;
        return v;
      case 'f':
        Literal("false");
        v.kind = Json::Kind::Bool;
        return v;
      case 'n':
        Literal("null");
        return v;
      default:
        return Number();
    }
  }

  Json Object(int depth) {
    Json v;
    v.kind = Json::Kind::Object;
    Expect('{');
    Space();
    if (Peek() == '}') {
      ++pos_;
      return v;
    }
    for (;;) {
      Space();
      std::string key = String();
      if (v.Has(key))
        Fail();
      Space();
      Expect(':');
      v.members.emplace_back(std::move(key), Value(depth + 1));
      Space();
      if (Peek() == '}') {
        ++pos_;
        return v;
      }
      Expect(',');
    }
  }

  Json Array(int depth) {
    Json v;
    v.kind = Json::Kind::Array;
    Expect('[');
    Space();
    if (Peek() == ']') {
      ++pos_;
      return v;
    }
    for (;;) {
      v.items.push_back(Value(depth + 1));
      Space();
      if (Peek() == ']') {
        ++pos_;
        return v;
      }
      Expect(',');
    }
  }

  bool Digit() const { return Peek() >= '0' && Peek() <= '9'; }
  void Digits() {
    if (!Digit())
      Fail();
    while (Digit())
      ++pos_;
  }

  Json Number() {
    const std::size_t start = pos_;
    if (Peek() == '-')
      ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else {
      Digits();
    }
    if (Peek() == '.') {
      ++pos_;
      Digits();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-')
        ++pos_;
      Digits();
    }
    Json v;
    v.kind = Json::Kind::Number;
    v.text = std::string(s_.substr(start, pos_ - start));
    const auto r = std::from_chars(v.text.data(), v.text.data() + v.text.size(), v.number);
    if (r.ec != std::errc() || r.ptr != v.text.data() + v.text.size())
      Fail();
    return v;
  }

  unsigned Hex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = Peek();
      ++pos_;
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= c - '0';
      else if (c >= 'a' && c <= 'f')
        value |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        value |= c - 'A' + 10;
      else
        Fail();
    }
    return value;
  }

  static void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  void Escape(std::string& out) {
    const char c = Peek();
    ++pos_;
    switch (c) {
      case '"':
        out += '"';
        return;
      case '\\':
        out += '\\';
        return;
      case '/':
        out += '/';
        return;
      case 'b':
        out += '\b';
        return;
      case 'f':
        out += '\f';
        return;
      case 'n':
        out += '\n';
        return;
      case 'r':
        out += '\r';
        return;
      case 't':
        out += '\t';
        return;
      case 'u':
        break;
      default:
        Fail();
    }
    std::uint32_t cp = Hex4();
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      Literal("\\u");
      const unsigned low = Hex4();
      if (low < 0xDC00 || low > 0xDFFF)
        Fail();
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      Fail();
    }
    AppendUtf8(out, cp);
  }

  std::string String() {
    Expect('"');
    std::string out;
    for (;;) {
      if (pos_ >= s_.size())
        Fail();
      const unsigned char c = static_cast<unsigned char>(s_[pos_++]);
      if (c == '"')
        return out;
      if (c < 0x20)
        Fail();
      if (c == '\\') {
        Escape(out);
      } else {
        out += static_cast<char>(c);
      }
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

}  // namespace korimo::testing
