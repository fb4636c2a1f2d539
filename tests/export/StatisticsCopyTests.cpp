#include <gtest/gtest.h>

#include "export/Manual.h"
#include "export/StatisticsCopy.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class StatisticsCopyTest : public EngineTest {};

TEST_F(StatisticsCopyTest, RowCopyShowsTheMessageFirstThenFillsTheClipboard) {
  Choose(0, Chart("ref.txt", Flat(20)));
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(20, 1))));
  Choose(2, Chart("f2.txt", Offsets(std::vector<double>(20, 2))));
  But_Copy_Click(1, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "   2.00\t   2.00\t   2.00\t   2.00");
  EXPECT_EQ(platform_.messages.back(), "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました");
  EXPECT_EQ(platform_.log, (std::vector<std::string>{"clear", "message", "text"}));

  But_Copy_Click(3, window_, platform_);
  EXPECT_EQ(*platform_.clipboardText, Cap(Ctl::Lb_De2K, 2) + "\t" + Cap(Ctl::Lb_De2K, 3) + "\t" +
                                          Cap(Ctl::Lb_Best2K, 1) + "\t" + Cap(Ctl::Lb_Wors2K, 1));
  EXPECT_EQ(platform_.messages.back(), "平均⊿E00  最大⊿E00  Best10%, 95%\r\n\r\nコピーしました");
}

TEST_F(StatisticsCopyTest, RowCopyBeforeAnyLoadCopiesThreeTabs) {
  But_Copy_Click(0, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  EXPECT_EQ(platform_.messages.size(), 1u);
}

TEST_F(StatisticsCopyTest, AreaCopyFillsTheClipboardFirstThenShowsTheMessage) {
  window_.SetCaption(Ctl::Lb_DeBox, 0, "A1-A4:B1-B4  ⊿E=1.23 Max=4.56  ⊿E00=0.78 Max=2.34");
  But_CPArea_Click(0, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "1.23 \t4.56 \r\n0.78 \t2.34");
  EXPECT_EQ(platform_.log, (std::vector<std::string>{"clear", "text", "message"}));
  EXPECT_EQ(platform_.messages.back(),
            "平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました");
}

TEST_F(StatisticsCopyTest, AreaCopyOfTheHintOrAnEmptyBoxCopiesNothing) {
  platform_.clipboardText = "old";
  But_CPArea_Click(1, window_, platform_);
  EXPECT_FALSE(platform_.clipboardText.has_value());
  window_.SetCaption(Ctl::Lb_DeBox, 1, "");
  But_CPArea_Click(1, window_, platform_);
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_EQ(AreaCopyText("A=B-C:D  ⊿E=1.00"), "");  // not the four figures: nothing
}

TEST(Manual, OpensThePdfBesideTheProgram) {
  FakePlatform platform;
  platform.programFolder = "/opt/korimo";
  But_Help_Click(platform);
  EXPECT_EQ(platform.openedDocuments, std::vector<std::string>{"/opt/korimo/Korimo使用説明書.pdf"});
}

}  // namespace
}  // namespace korimo::testing
