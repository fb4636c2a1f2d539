#include "ui/VerificationPage.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <cstdlib>
#include <fstream>

#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

const std::string kWedge = KORIMO_SAMPLES_DIR "/wedge-reference.txt";
const std::string kProofPass = KORIMO_SAMPLES_DIR "/wedge-proof-pass.txt";
const std::string kProofFail = KORIMO_SAMPLES_DIR "/wedge-proof-fail.txt";

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
  std::string CriteriaFile(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name), std::ios::binary) << text;
    return dir_.File(name);
  }
  Strings PageTexts() {
    Strings texts;
    for (const QLabel* label : verification().findChildren<QLabel*>())
      texts.push_back(label->text().toStdString());
    return texts;
  }
  bool Shows(const std::string& text) {
    const Strings texts = PageTexts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  // Under Xvfb with KORIMO_SHOTS_DIR set, the window as the user sees it.
  void Shot(const std::string& name) {
    if (const char* dir = std::getenv("KORIMO_SHOTS_DIR"))
      window().grab().save(QString::fromStdString(std::string(dir) + "/" + name));
  }
};

TEST_F(VerificationPageTest, ThirdTabWithNoneTheBuiltInSetsAndAFile) {
  ASSERT_EQ(window().TabStrip1().count(), 3);
  EXPECT_EQ(window().TabStrip1().tabText(2).toStdString(), "\u3000判\u3000定\u3000");
  const QComboBox& choice = *verification().setChoice;
  Strings items;
  for (int i = 0; i < choice.count(); ++i)
    items.push_back(choice.itemText(i).toStdString());
  EXPECT_EQ(items,
            (Strings{"なし", "ISO 12647-7:2016 Media Wedge V3", "ISO 12647-7:2007 Media Wedge V3",
                     "ISO 12647-2:2013 solids", "ファイルから…"}));
  Show(2);
  EXPECT_TRUE(verification().isVisible());
  EXPECT_FALSE(window().dataPage().isVisible());
}

// A passing and a failing pair, each with its overall verdict, the worst
// patches and the note that no verdict certifies anything.
TEST_F(VerificationPageTest, VerdictPerPairAfterEveryLoad) {
  Show(2);
  Choose(DataSet::Reference, kWedge);
  Choose(DataSet::File1, kProofPass);
  PickFile(CriteriaFile("proof.txt",
                        "name: Proof\nall:de00:avg<=1.5\nall:de00:max<=3\nall:dh:max<=2.5\n"));
  EXPECT_EQ(state().verification.setName, "Proof");
  EXPECT_TRUE(Shows("合格"));
  EXPECT_FALSE(Shows("不合格"));
  EXPECT_TRUE(Shows("規格への適合を認証するものではありません"));
  Shot("19-verification-pass.png");

  Choose(DataSet::File2, kProofFail);
  EXPECT_TRUE(Shows("合格"));
  EXPECT_TRUE(Shows("不合格"));
  ASSERT_EQ(state().verification.pairs.size(), 2u);
  // By an independent CIEDE2000: the lightest grey patch, No. 40, is worst.
  EXPECT_EQ(state().verification.pairs[1].worst.at(0)[0], "40");
  Shot("19-verification-fail.png");
  EXPECT_EQ(verification().setChoice->currentIndex(), VerificationPage::FromFileIndex());
}

// A file with errors shows its first one; the page keeps the set it had,
// as it does when the dialog is cancelled.
TEST_F(VerificationPageTest, BrokenOrCancelledFileKeepsThePreviousSet) {
  LoadPair({0.5, 1.0});
  Pick(2);
  ASSERT_TRUE(state().criteria);
  EXPECT_EQ(state().criteria->id, "iso12647-7-2007");
  const std::string broken = CriteriaFile("broken.txt", "all:de:max<=1\nall:de:max<2\nx\n");
  PickFile(broken);
  EXPECT_EQ(
      platform_.messages,
      Strings{broken + "\n2行目: 「all:de:max<2」はROLE:METRIC:STAT<=LIMITの形ではありません"});
  PickFile(std::nullopt);
  EXPECT_EQ(state().criteria->id, "iso12647-7-2007");
  EXPECT_EQ(verification().setChoice->currentIndex(), 2);
  Pick(0);
  EXPECT_FALSE(state().criteria);
  EXPECT_TRUE(state().verification.pairs.empty());
}

}  // namespace
}  // namespace korimo::testing
