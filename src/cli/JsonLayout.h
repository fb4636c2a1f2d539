#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace korimo {

// The report's text: every member of an object and every container inside
// an array on its own line, indented by two blanks a level, while arrays of
// numbers or texts stay on one line, so tables remain readable. Numbers are
// the shortest text that reads back to the same double, integers plain, and
// a value that is not finite is null. Texts must be valid UTF-8.
std::string LayOutJson(const nlohmann::ordered_json& document);

// Appends `value` as LayOutJson lays it out `depth` levels deep, so that a
// large document can be laid out one part at a time.
void AppendJson(std::string& out, const nlohmann::ordered_json& value, int depth);

}  // namespace korimo
