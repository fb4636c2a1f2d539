#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korimo {

// Streams one JSON document into a string. Members of objects and container
// elements of arrays start on their own indented line; scalar array elements
// stay on one line, so tables of numbers remain readable.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // Must precede every value inside an object.
  void Key(std::string_view name);

  void String(std::string_view utf8);
  void Integer(std::int64_t value);
  // The shortest text that reads back to exactly `value`; null when the value
  // is not finite, which JSON cannot express.
  void Number(double value);
  void Number(float value) { Number(static_cast<double>(value)); }

  // The document so far; complete once every container has been closed.
  const std::string& Text() const { return out_; }
  bool Complete() const { return stack_.empty() && !out_.empty(); }

 private:
  enum class Container { Object, Array };
  struct Level {
    Container kind;
    int members = 0;
    bool broken = false;  // some member started on its own line
  };

  void BeforeValue(bool isContainer);
  void Open(Container kind, char bracket);
  void Close(char bracket);
  void NewLine(std::size_t depth);
  void AppendEscaped(std::string_view utf8);

  std::string out_;
  std::vector<Level> stack_;
};

}  // namespace korimo
