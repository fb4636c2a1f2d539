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

TEST_F(FileSelectionTest, DropsOnChartsButtonsAndLabels) {
  Lb_File_OLEDragDrop(state_, DataSet::Reference, {dir_.File("a.LNK")}, hooks_);  // links ignored
  PictPat_OLEDragDrop(state_, Pair::ReferenceFile1, {dir_.File("b.lnk")}, hooks_);
  But_File_OLEDragDrop(state_, DataSet::File1, {}, hooks_);  // no file list
  EXPECT_EQ(Files(), (Strings{"", "", ""}));
  PictPat_OLEDragDrop(state_, Pair::ReferenceFile2, {ref_}, hooks_);  // the Reference first
  PictPat_OLEDragDrop(state_, Pair::ReferenceFile2, {f2_}, hooks_);   // then chart 1's file
  PictPat_OLEDragDrop(state_, Pair::ReferenceFile1, {f1_}, hooks_);
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f2_}));
  But_File_OLEDragDrop(state_, DataSet::File2, {f1_, ref_, f2_}, hooks_);  // the first path only
  But_File_OLEDragDrop(state_, DataSet::Reference, {dir_.File("c.lnk")},
                       hooks_);  // buttons take links
  EXPECT_EQ(Files(), (Strings{dir_.File("c.lnk"), f1_, f1_}));
  EXPECT_EQ(record().Lb_NoP[0], "0 ﾊﾟｯﾁ");
  Lb_File_OLEDragDrop(state_, DataSet::Reference, {ref_}, hooks_);
  EXPECT_EQ(record().Lb_NoP[0], "4 ﾊﾟｯﾁ");
}

TEST_F(FileSelectionTest, TheGridFillsTheFirstFreeSetThenReReadsTheReference) {
  for (const std::string& path : {ref_, f1_, f2_})
    FlexG_OLEDragDrop(state_, {path}, hooks_);
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f2_}));
  WriteChart(ref_, Flat(6));
  FlexG_OLEDragDrop(state_, {Chart("other.txt", Flat(4))}, hooks_);
  EXPECT_EQ(Files(), (Strings{ref_, f1_, f2_}));
  EXPECT_EQ(record().Lb_NoP[0], "6 ﾊﾟｯﾁ");
}

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
