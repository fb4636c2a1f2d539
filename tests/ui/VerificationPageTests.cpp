#include "ui/VerificationPage.h"

#include <QComboBox>
#include <QPushButton>

#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

class VerificationPageTest : public WindowTest {
 protected:
  VerificationPage& verification() { return window().verificationPage(); }
  void Pick(int index) {
    verification().setChoice->setCurrentIndex(index);
    emit verification().setChoice->activated(index);
  }
  void PickFile(const std::optional<std::string>& path) {
    dialogs_.criteriaAnswers.push_back(path);
    Pick(VerificationPage::FromFileIndex());
  }
};

// A file with errors shows its first one; the page keeps the set it had,
// as it does when the dialog is cancelled.
TEST_F(VerificationPageTest, BrokenOrCancelledFileKeepsThePreviousSet) {
  LoadPair({0.5, 1.0});
  Show(2);
  EXPECT_TRUE(verification().isVisible());
  EXPECT_FALSE(window().dataPage().isVisible());
  Pick(2);
  ASSERT_TRUE(state().inputs.criteria);
  EXPECT_EQ(state().inputs.criteria->id, "iso12647-7-2007");
  const std::string broken = dir_.Write("broken.txt", "all:de:max<=1\nall:de:max<2\nx\n");
  PickFile(broken);
  EXPECT_EQ(
      platform_.messages,
      Strings{broken + "\n2行目: 「all:de:max<2」はROLE:METRIC:STAT<=LIMITの形ではありません"});
  PickFile(std::nullopt);
  EXPECT_EQ(state().inputs.criteria->id, "iso12647-7-2007");
  EXPECT_EQ(verification().setChoice->currentIndex(), 2);
  Pick(0);
  EXPECT_FALSE(state().inputs.criteria);
  EXPECT_TRUE(record().verification.pairs.empty());
}

}  // namespace
}  // namespace korimo::testing
