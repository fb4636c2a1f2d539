// Thousands of seeded random user actions on the real window, with the
// program's invariants checked after every one. Run under the sanitizers as
// part of the test command; a failure prints the seed and step to replay.
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "app/GridRows.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr unsigned kSeed = 20261206;
constexpr int kSteps = 2500;

class AbuseTest : public WindowTest {
 protected:
  void SetUp() override {
    const std::string samples = KORIMO_SAMPLES_DIR;
    for (const char* name : {"small-reference.txt", "small-file1.txt", "small-file2.txt"}) {
      files_.push_back(samples + "/" + name);
    }
    files_.push_back(samples + "/large-file2.txt");
    files_.push_back(Chart("odd.txt", Offsets({0, 5, 1, 5, 0.001, 12, 3}), 3));
    files_.push_back(Chart("tall.txt", Flat(400), 200));  // cells of 2 pixels
    const std::string junk = dir_.File("junk.bin");
    {
      std::ofstream out(junk, std::ios::binary);
      std::mt19937 bytes(kSeed);
      for (int i = 0; i < 200000; ++i)
        out.put(static_cast<char>(bytes()));
    }
    files_.push_back(junk);
    files_.push_back(dir_.File("missing.txt"));
    files_.push_back(dir_.path().string());  // a folder
    files_.push_back(dir_.File("link.lnk"));
    files_.push_back("/dev/zero");
  }

  std::string AnyFile() { return files_[Pick(files_.size())]; }
  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }
  bool Coin() { return Pick(2) == 0; }

  void Drop(QWidget* target, const std::vector<std::string>& paths) {
    const auto mime = UriList(paths);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }

  Qt::KeyboardModifiers AnyModifiers() {
    const Qt::KeyboardModifier all[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                        Qt::AltModifier};
    return all[Pick(4)];
  }

  QPoint AnyPointIn(const QWidget& w) {
    return {static_cast<int>(Pick(w.width() + 20)) - 10,
            static_cast<int>(Pick(w.height() + 20)) - 10};
  }

  void MouseOnChart() {
    PictureBox& chart = window().PictPat(static_cast<int>(Pick(2)));
    const Qt::MouseButton button = Pick(5) == 0 ? Qt::RightButton : Qt::LeftButton;
    const auto mods = AnyModifiers();
    platform_.menuAnswers.push_back(Pick(3) == 0 ? std::nullopt : std::optional<int>(Pick(2)));
    platform_.saveAnswers.push_back(Coin() ? std::optional<std::string>(dir_.File("out"))
                                           : std::nullopt);
    QTest::mouseMove(&chart, AnyPointIn(chart));
    QTest::mousePress(&chart, button, mods, AnyPointIn(chart));
    for (int m = static_cast<int>(Pick(4)); m > 0; --m)
      QTest::mouseMove(&chart, AnyPointIn(chart));
    QTest::mouseRelease(&chart, button, mods, AnyPointIn(chart));
  }

  void MouseOnHistogram() {
    PictureBox& histogram = window().PictG(static_cast<int>(Pick(2)));
    platform_.menuAnswers.push_back(std::optional<int>(Pick(2)));
    platform_.saveAnswers.push_back(Coin() ? std::optional<std::string>(dir_.File("hist"))
                                           : std::nullopt);
    QTest::mouseClick(&histogram, Qt::RightButton, Qt::NoModifier, AnyPointIn(histogram));
  }

  void MouseOnGrid() {
    FlexGrid* grid = window().dataPage().FlexG;
    QWidget* target = Coin() ? grid->horizontalHeader()->viewport() : grid->viewport();
    const Qt::MouseButton button = Pick(4) == 0 ? Qt::RightButton : Qt::LeftButton;
    platform_.menuAnswers.push_back(std::optional<int>(Pick(2)));
    platform_.saveAnswers.push_back(Coin() ? std::optional<std::string>(dir_.File("grid"))
                                           : std::nullopt);
    QTest::mouseClick(target, button, Qt::NoModifier, AnyPointIn(*target));
    if (Coin())
      grid->ScrollToRow(static_cast<int>(Pick(3001)));
  }

  void ClickButton() {
    ChartPage& page = window().chartPage();
    switch (Pick(6)) {
      case 0:
        platform_.openAnswers.push_back(Coin() ? std::optional<std::string>(AnyFile())
                                               : std::nullopt);
        QTest::mouseClick(&window().But_File(static_cast<int>(Pick(3))), Qt::LeftButton);
        break;
      case 1:
        QTest::mouseClick(Pick(2) ? window().statisticsFrame(static_cast<int>(Pick(2))).CopyDe
                                  : window().statisticsFrame(static_cast<int>(Pick(2))).CopyDe2K,
                          Qt::LeftButton);
        break;
      case 2:
        QTest::mouseClick(page.But_CPArea[Pick(2)], Qt::LeftButton);
        break;
      case 3:
        platform_.saveAnswers.push_back(Coin() ? std::optional<std::string>(dir_.File("res"))
                                               : std::nullopt);
        QTest::mouseClick(window().dataPage().But_DataR, Qt::LeftButton);
        break;
      case 4:
        QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
        break;
      default:
        QTest::keyClick(page.Lb_DeBox[Pick(2)], static_cast<char>('a' + Pick(26)));
        break;
    }
  }

  void ThresholdPanel() {
    ChartPage& page = window().chartPage();
    switch (Pick(4)) {
      case 0:
        page.Opt_de[Pick(2)]->click();
        break;
      case 1:
        page.SldBest->setValue(static_cast<int>(Pick(21)));
        break;
      case 2:
        page.SldWorst->setValue(static_cast<int>(Pick(21)));
        break;
      default:
        (Coin() ? page.ChkBest : page.ChkWorst)->click();
        break;
    }
  }

  void DropSomewhere() {
    std::vector<std::string> paths{AnyFile()};
    if (Coin())
      paths.push_back(AnyFile());
    QWidget* targets[] = {
        &window().But_File(static_cast<int>(Pick(3))), &window().Lb_File(static_cast<int>(Pick(3))),
        &window().PictPat(static_cast<int>(Pick(2))), window().dataPage().FlexG->viewport()};
    Drop(targets[Pick(4)], paths);
  }

  void ExpectStartUpState() {
    for (int s = 0; s < 3; ++s) {
      ASSERT_EQ(Cap(Ctl::Lb_File, s), "");
      ASSERT_EQ(Cap(Ctl::Lb_NoP, s), "");
      ASSERT_EQ(data().PatchCount[s], 0);
    }
    for (int p = 0; p < 2; ++p) {
      ASSERT_EQ(Cap(Ctl::Lb_PDe, p), "");
      ASSERT_EQ(Cap(Ctl::Lb_DeBox, p), kAreaHint);
      ASSERT_FALSE(window().AreaBoxVisible(p));
      const PictureBox& chart = window().PictPat(p);
      ASSERT_EQ(chart.Pixel(chart.ScaleWidth() / 2, chart.ScaleHeight() / 2), chart.Background());
    }
    ASSERT_EQ(window().dataPage().FlexG->Rows(), 1);
    ASSERT_EQ(Cap(Ctl::ChkBest), "Under");
    ASSERT_FALSE(window().MenuItemsEnabled());
  }

  // What must hold after any action.
  void ExpectConsistent() {
    for (int s = 0; s < 3; ++s) {
      const std::string count = Cap(Ctl::Lb_NoP, s);
      ASSERT_TRUE(count.empty() || count == std::to_string(data().PatchCount[s]) + " ﾊﾟｯﾁ")
          << count;
      ASSERT_GE(data().PatchCount[s], 0);
      ASSERT_LE(data().PatchCount[s], kMaxPatches);
      if (Cap(Ctl::Lb_File, s).empty()) {
        ASSERT_EQ(data().PatchCount[s], 0);
      }
    }
    for (int i = 0; i < 4; ++i) {
      for (Ctl c : {Ctl::Lb_De, Ctl::Lb_De2K}) {
        const std::string figure = Cap(c, i);
        ASSERT_TRUE(figure.empty() || figure.size() == 7) << figure;
      }
    }
    ASSERT_LE(window().dataPage().FlexG->Rows(), kMaxPatches + 1);
    ASSERT_LE(std::abs(state().GridSortKey), 14);
    for (int c = 0; c < 2; ++c) {
      ASSERT_GE(state().PrevPatch[c], 0);
      ASSERT_LE(state().PrevPatch[c], kSlots);
    }
  }

  std::mt19937 rng_{kSeed};
  std::vector<std::string> files_;
};

TEST_F(AbuseTest, SeededRandomActionsKeepTheWindowConsistent) {
  window().show();
  const std::function<void()> actions[] = {
      [this] { ClickButton(); },
      [this] { DropSomewhere(); },
      [this] { MouseOnChart(); },
      [this] { MouseOnChart(); },
      [this] { MouseOnHistogram(); },
      [this] { MouseOnGrid(); },
      [this] { ThresholdPanel(); },
      [this] { window().TabStrip1().setCurrentIndex(static_cast<int>(Pick(2))); },
  };
  int clears = 0;
  for (int step = 0; step < kSteps; ++step) {
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", step " + std::to_string(step));
    if (Pick(60) == 0) {
      QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
      ++clears;
      ASSERT_NO_FATAL_FAILURE(ExpectStartUpState());
    } else {
      actions[Pick(std::size(actions))]();
    }
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent());
  }
  EXPECT_GT(clears, 10);
  EXPECT_GT(platform_.writtenFiles.size() + platform_.savedBitmaps.size(), 0u);
}

}  // namespace
}  // namespace korimo::testing
