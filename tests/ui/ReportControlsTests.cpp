#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "support/EngineDriver.h"
#include "support/FakePlatform.h"
#include "ui/ReportControls.h"

namespace korimo {
namespace {

class ReportControlsTest : public testing::EngineTest {
 protected:
  testing::FakePlatform platform_;
};

// What the user typed goes into the page, trimmed; the check box asks for
// every patch. (The window trace saves the page with and without every
// patch, and ReportSave's test writes and opens it.)
TEST_F(ReportControlsTest, TheInputIsWhatTheFieldsSay) {
  LoadPair(Same(30, 1.0));
  ReportControls controls(platform_, state_, [] {
    ReportVerification v;
    v.sets.push_back({"社内基準", true, "", {}});
    return v;
  });
  controls.title().setText(QStringLiteral(" 校正 <1> "));
  controls.note().setPlainText(QStringLiteral("一行目\n二行目"));
  controls.allPatches().setChecked(true);
  const ReportInput input = controls.Input();
  EXPECT_EQ(input.job.title, "校正 <1>");
  EXPECT_TRUE(input.job.operator_.empty());
  EXPECT_EQ(input.job.note, "一行目\n二行目");
  EXPECT_EQ(input.patches, ReportPatches::All);
  ASSERT_EQ(input.verification.sets.size(), 1u);
}

}  // namespace
}  // namespace korimo
