// Thousands of seeded random user actions on the real window, with the program's
// invariants checked after every one; a failure prints the seed and step to replay.
#include <fstream>
#include <functional>
#include <random>

#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr unsigned kSeed = 20261206;

class AbuseTest : public WindowTest {
 protected:
  int Pick(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint Any(const QWidget& w) { return {Pick(w.width() + 20) - 10, Pick(w.height() + 20) - 10}; }
  // Hover, a press, some motion and a release, maybe modified; answers for a menu and a dialog.
  void Drag(QWidget& w, Qt::MouseButton button) {
    const Qt::KeyboardModifiers mod =  // none, Shift, Ctrl or Alt
        Pick(4) ? Qt::KeyboardModifier(Qt::ShiftModifier << Pick(3)) : Qt::NoModifier;
    platform_.menuAnswers.push_back(Pick(3) ? std::optional(Pick(2)) : std::nullopt);
    platform_.saveAnswers.push_back(Pick(2) ? std::optional(dir_.File("out")) : std::nullopt);
    QTest::mouseMove(&w, Any(w));
    QTest::mousePress(&w, button, mod, Any(w));
    for (int m = Pick(4); m > 0; --m)
      QTest::mouseMove(&w, Any(w));
    QTest::mouseRelease(&w, button, mod, Any(w));
  }
  // What must hold after any action, and after clear-all what held at start-up.
  void ExpectConsistent(bool cleared) {
    for (int s = 0; s < 3; ++s) {
      const int n = data().PatchCount[s];
      const std::string count = Cap(Ctl::Lb_NoP, s), file = Cap(Ctl::Lb_File, s);
      ASSERT_TRUE(count.empty() || count == std::to_string(n) + " ﾊﾟｯﾁ") << count;
      ASSERT_TRUE(n >= 0 && n <= kMaxPatches && (n == 0 || !file.empty())) << n;
      ASSERT_FALSE(cleared && (n > 0 || !file.empty() || !count.empty()));
    }
    for (int i = 0; i < 8; ++i) {
      const std::string figure = Cap(i < 4 ? Ctl::Lb_De : Ctl::Lb_De2K, i % 4);
      ASSERT_TRUE(figure.empty() || figure.size() == 7) << figure;
    }
    ASSERT_TRUE(grid().Rows() <= (cleared ? 1 : kMaxPatches + 1) &&
                std::abs(state().GridSortKey) <= 14);
    for (int c = 0; c < 2; ++c) {
      ASSERT_TRUE(state().PrevPatch[c] >= 0 && state().PrevPatch[c] <= kSlots);
      ASSERT_FALSE(cleared && (window().AreaBoxVisible(c) || window().MenuItemsEnabled() ||
                               !Cap(Ctl::Lb_PDe, c).empty() || Cap(Ctl::Lb_DeBox, c) != kAreaHint ||
                               !IsBlank(window().PictPat(c)) || !IsBlank(window().PictG(c))));
    }
  }

  std::mt19937 rng_{kSeed};
};

TEST_F(AbuseTest, SeededRandomActionsKeepTheWindowConsistent) {
  const std::string samples = std::string(KORIMO_SAMPLES_DIR) + "/";
  std::ofstream junk(dir_.File("junk.bin"), std::ios::binary);
  for (int i = 0; i < 200000; ++i)
    junk.put(static_cast<char>(rng_()));
  junk.close();
  const Strings files = {samples + "small-reference.txt",
                         samples + "small-file1.txt",
                         samples + "small-file2.txt",
                         samples + "large-file2.txt",
                         Chart("odd.txt", Offsets({0, 5, 1, 5, 0.001, 12, 3}), 3),
                         Chart("tall.txt", Flat(400), 200),  // cells of 2 pixels
                         dir_.File("junk.bin"),
                         dir_.File("missing.txt"),
                         dir_.path().string(),  // a folder
                         dir_.File("link.lnk"),
                         "/dev/zero"};
  const auto any = [&] { return files[Pick(files.size())]; };
  ChartPage& p = page();
  const std::function<void(int)> actions[] = {
      [&](int i) {  // a file button, answered by the fake dialog
        platform_.openAnswers.push_back(Pick(2) ? std::optional(any()) : std::nullopt);
        QTest::mouseClick(&window().But_File(i + Pick(2)), Qt::LeftButton);
      },
      [&](int i) {
        QWidget* targets[] = {&window().But_File(i + Pick(2)), &window().Lb_File(i + Pick(2)),
                              p.PictPat[i], grid().viewport()};
        Offer(targets[Pick(4)], Pick(2) ? Strings{any()} : Strings{any(), any()});
      },
      [&](int i) { Drag(*p.PictPat[i], Pick(5) ? Qt::LeftButton : Qt::RightButton); },
      [&](int i) { Drag(*p.PictPat[i], Qt::LeftButton); },
      [&](int i) { Drag(window().PictG(i), Qt::RightButton); },
      [&](int i) {  // headings, rows, the grid menu and scrolling
        Drag(i ? *grid().horizontalHeader()->viewport() : *grid().viewport(),
             Pick(4) ? Qt::LeftButton : Qt::RightButton);
        grid().ScrollToRow(Pick(3001));
      },
      [&](int i) {  // copy buttons, keys in the area box, the results export and the manual
        QPushButton* buttons[] = {window().statisticsFrame(i).CopyDe,
                                  window().statisticsFrame(i).CopyDe2K, p.But_CPArea[i],
                                  window().dataPage().But_DataR, &window().But_Help()};
        QTest::mouseClick(buttons[Pick(5)], Qt::LeftButton);
        QTest::keyClick(p.Lb_DeBox[i], static_cast<char>('a' + Pick(26)));
      },
      [&](int i) { (i ? p.SldBest : p.SldWorst)->setValue(Pick(21)); },
      [&](int i) { Pick(2) ? p.Opt_de[i]->click() : (i ? p.ChkBest : p.ChkWorst)->click(); },
      [&](int i) { window().TabStrip1().setCurrentIndex(i); },
  };
  window().show();
  for (int step = 0; step < 2500; ++step) {
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", step " + std::to_string(step));
    const bool clear = Pick(60) == 0;
    if (clear)
      QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
    else
      actions[Pick(std::size(actions))](Pick(2));
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent(clear));
  }
  EXPECT_GT(platform_.writtenFiles.size() + platform_.savedBitmaps.size(), 0u);
}

}  // namespace
}  // namespace korimo::testing
