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

// The box sits between the strip and the clear button. (That clear-all
// brings it back to position mode is in the window trace.)
TEST_F(PairingBoxTest, ChoosingIdRepairsWithoutReading) {
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
}

}  // namespace
}  // namespace korimo::testing
