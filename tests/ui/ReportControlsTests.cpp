#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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
// every patch; the button writes through the platform and opens the page.
TEST_F(ReportControlsTest, TheButtonWritesWhatTheFieldsSay) {
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

  platform_.saveAnswers.push_back(dir_.File("r"));
  QTest::mouseClick(&controls.saveButton(), Qt::LeftButton);
  ASSERT_EQ(platform_.writtenFiles.count(dir_.File("r.html")), 1u);
  EXPECT_NE(platform_.writtenFiles.at(dir_.File("r.html")).find("\n 30  P30 "), std::string::npos);
  EXPECT_EQ(platform_.openedDocuments, std::vector<std::string>{dir_.File("r.html")});
}

}  // namespace
}  // namespace korimo
