#include "app/FileSelection.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

// Only the outer characters of a quoted argument text go; the window's test
// loads the Reference so named.
TEST(FileSelection, TheCommandLineNamesTheReference) {
  const std::pair<const char*, const char*> arguments[] = {
      {"\"/a b\"", "/a b"},  {"/a b", "/a b"}, {"\"/a\" \"/b\"", "/a\" \"/b"},
      {"\"/a.txt", "/a.tx"}, {"\"", ""},       {"", ""}};
  for (const auto& [text, path] : arguments)
    EXPECT_EQ(ReferencePathFromArguments(text), path) << text;
}

}  // namespace
}  // namespace korimo
