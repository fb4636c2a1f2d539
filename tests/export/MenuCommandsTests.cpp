#include "export/MenuCommands.h"

#include <gtest/gtest.h>

#include "app/ChartMouse.h"
#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

class MenuCommandsTest : public EngineTest {
 protected:
  // ⊿E 0.1 ... 5.0: top 5, bins of 0.5; 5.0 itself falls into bin 10.
  void SetUp() override { LoadPair({0.1, 0.2, 0.3, 0.7, 1.2, 1.3, 2.2, 4.6, 5.0}); }
  void Choose(MenuItem item) { Menu_EditSub_Click(state_, item, platform_); }
  FakePlatform platform_;
};

TEST_F(MenuCommandsTest, HistogramCopyPutsPictureAndTableSaveWritesBothFiles) {
  ASSERT_TRUE(Do(PictG_MouseUp, Pair::ReferenceFile1, MouseButton::Right));
  Choose(MenuItem::Copy);
  EXPECT_EQ(platform_.clipboardBitmap->Pixels(), state_.pictures.PictG[0].Pixels());
  // Bins of 0.5 with one-decimal upper edges; bin 10 (5.0 itself) is never written.
  EXPECT_EQ(platform_.clipboardText,
            "ΔE\tパッチ数\r\n0.5\t3\r\n1.0\t1\r\n1.5\t2\r\n2.0\t0\r\n2.5\t1\r\n3.0\t0\r\n"
            "3.5\t0\r\n4.0\t0\r\n4.5\t0\r\n5.0\t1\r\n");
  platform_.saveAnswers = {"/out/h", "/ro/h"};
  platform_.failWrites["/ro/h-ΔE.bmp"] = "No space left on device";
  Choose(MenuItem::Save);
  Choose(MenuItem::Save);
  EXPECT_EQ(platform_.saveFilters,
            (Strings{"ビットマップ(*.bmp)|*.bmp", "ビットマップ(*.bmp)|*.bmp"}));
  EXPECT_EQ(platform_.savedBitmaps.at("/out/h-ΔE.bmp").Pixels(), state_.pictures.PictG[0].Pixels());
  // The table in CP932 ("Δ" is 83 A2) with one more line end.
  const std::string& table = platform_.writtenFiles.at("/out/h-ΔE.txt");
  EXPECT_TRUE(
      table.starts_with("\x83\xA2"
                        "E\t\x83p\x83"
                        "b\x83`\x90\x94\r\n"));
  EXPECT_TRUE(table.ends_with("\r\n\r\n"));
  EXPECT_NE(platform_.messages.back().find("/ro/h-ΔE.bmp"), std::string::npos);
  EXPECT_FALSE(platform_.writtenFiles.contains("/ro/h-ΔE.txt"));
  Do(Opt_de_Click, Metric::De00);
  platform_.saveAnswers = {"/out/k.bmp"};
  Choose(MenuItem::Save);
  EXPECT_TRUE(platform_.writtenFiles.at("/out/k-ΔE2K.txt")
                  .starts_with("\x83\xA2"
                               "E2K\t"));
}

}  // namespace
}  // namespace korimo::testing
