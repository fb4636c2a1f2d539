#include "app/WindowRecord.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

// The version numbers written one after the other: 4.0.0 ends in (Ver.4.00).
TEST(WindowRecord, CaptionAndStartUpTexts) {
  EXPECT_EQ(WindowCaption(4, 0, 0), "⊿E､⊿E00計算　(Ver.4.00)");
  EXPECT_EQ(WindowCaption(1, 12, 3), "⊿E､⊿E00計算　(Ver.1.123)");
  const WindowRecord r = InitialRecord();
  EXPECT_EQ(r.FlexG_Headings[9], "⊿E00\u3000");
  EXPECT_EQ((std::array{r.ChkBest, r.ChkWorst, r.Lb_GY[1], r.Lb_GX[0]}),
            (std::array<std::string, 4>{"Under", "Over", "       数", "⊿E      "}));
  EXPECT_EQ(r.Lb_DeBox[1], "領域平均　：　Shift+マウス右クリック移動");
  EXPECT_FALSE(r.Chosen(DataSet::Reference));
}

}  // namespace
}  // namespace korimo
