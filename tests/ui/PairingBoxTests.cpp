#include <QComboBox>
#include <QPushButton>

#include <filesystem>

#include "WindowFixture.h"
#include "ui/PairingBox.h"

namespace korimo::testing {
namespace {

class PairingBoxTest : public WindowTest {
 protected:
  void Pick(int index) {
    QComboBox& combo = window().Cmb_Pairing().Combo();
    combo.setCurrentIndex(index);
    emit combo.activated(index);
  }
};

TEST_F(PairingBoxTest, ChoosingIdRepairsWithoutReadingAndClearAllReturnsToPosition) {
  std::vector<Patch> sample = Offsets(std::vector<double>(20, 2.0));
  std::swap(sample[0], sample[19]);
  sample.pop_back();
  Choose(DataSet::Reference, Chart("ref.txt", Flat(20)));
  Choose(DataSet::File1, Chart("f1.txt", sample));
  Show(1);
  const PairingBox& box = window().Cmb_Pairing();
  EXPECT_TRUE(box.isVisible());
  EXPECT_LE(box.geometry().right(), window().But_Clear().x());
  EXPECT_GE(box.x(), window().Lb_Pairing(Pair::ReferenceFile1).geometry().right());
  // Gone from disk: the change must work from what was read.
  std::filesystem::remove(dir_.File("ref.txt"));
  std::filesystem::remove(dir_.File("f1.txt"));
  Pick(1);
  EXPECT_EQ(state().inputs.mode, PairingMode::Id);
  EXPECT_EQ(record().Lb_De[0], "   2.00");
  EXPECT_EQ(Mismatches(window(), record()), Strings{});

  QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
  EXPECT_EQ(state().inputs.mode, PairingMode::Position);
  EXPECT_EQ(window().Cmb_Pairing().Combo().currentIndex(), 0);
}

}  // namespace
}  // namespace korimo::testing
