#include "app/FileSelection.h"

#include <gtest/gtest.h>

#include "app/ClearAll.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class FileSelectionTest : public EngineTest {
 protected:
  Strings Files() const { return {record().Lb_File[0], record().Lb_File[1], record().Lb_File[2]}; }
  const std::string ref_ = Chart("ref.txt", Flat(4)), f1_ = Chart("f1.txt", Flat(4)),
                    f2_ = Chart("f2.txt", Flat(4));
};

// Only the outer characters of a quoted argument text go.
TEST_F(FileSelectionTest, TheCommandLineNamesTheReference) {
  const std::pair<const char*, const char*> arguments[] = {{"\"/a b\"", "/a b"},
                                                           {"/a b", "/a b"},
                                                           {"\"/a\" \"/b\"", "/a\" \"/b"},
                                                           {"\"/a.txt", "/a.tx"},
                                                           {"\"", ""}};
  for (const auto& [text, path] : arguments)
    EXPECT_EQ(ReferencePathFromArguments(text), path) << text;
  CommandLine(state_, "", hooks_);
  EXPECT_EQ(Files(), (Strings{"", "", ""}));
  CommandLine(state_, "\"" + ref_ + "\"", hooks_);
  EXPECT_EQ(Files(), (Strings{ref_, "", ""}));
  EXPECT_EQ(record().Lb_NoP[0], "4 ﾊﾟｯﾁ");
}

}  // namespace
}  // namespace korimo::testing
