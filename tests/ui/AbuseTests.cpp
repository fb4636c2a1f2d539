// Thousands of seeded random user actions on the real window, with what must hold checked
// after every one; a failure prints the seed and step to replay.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include <fstream>
#include <functional>
#include <random>

#include "app/ClearAll.h"
#include "app/Render.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr unsigned kSeed = 20261206;

class AbuseTest : public WindowTest {
 protected:
  int Pick(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint Any(const QWidget& w) {
    return {Pick(static_cast<std::size_t>(w.width() + 20)) - 10,
            Pick(static_cast<std::size_t>(w.height() + 20)) - 10};
  }
  // Hover, a press, some motion and a release, maybe modified; answers for a menu and a dialog.
  void Drag(QWidget& w, Qt::MouseButton button) {
    const Qt::KeyboardModifiers mod =  // none, Shift, Ctrl or Alt
        Pick(4) ? Qt::KeyboardModifier(Qt::ShiftModifier << Pick(3)) : Qt::NoModifier;
    dialogs_.menuAnswers.push_back(
        Pick(3) ? std::optional(Pick(2) ? MenuItem::Copy : MenuItem::Save) : std::nullopt);
    platform_.saveAnswers.push_back(Pick(2) ? std::optional(dir_.File("out")) : std::nullopt);
    QTest::mouseMove(&w, Any(w));
    QTest::mousePress(&w, button, mod, Any(w));
    for (int m = Pick(4); m > 0; --m)
      QTest::mouseMove(&w, Any(w));
    QTest::mouseRelease(&w, button, mod, Any(w));
  }
  // The screen follows the record after any action, and clear-all brings back the start.
  void ExpectConsistent(bool cleared) {
    ASSERT_EQ(Mismatches(window(), record()), Strings{});
    for (DataSet s : kAllSets) {
      const int n = state().Current().Count(s);
      const bool chosen = !record().Lb_File[Index(s)].empty();
      ASSERT_TRUE(n >= 0 && n <= kMaxPatches && (n == 0 || chosen)) << n;
      ASSERT_FALSE(cleared && (n > 0 || chosen));
    }
    ASSERT_TRUE(std::abs(state().inputs.sortKey) <= 14);
    for (Pair c : kAllPairs) {
      const std::size_t i = Index(c);
      const int selected = state().ui.mouse[i].PrevPatch;
      ASSERT_EQ(page().Sh_Box[i]->isHidden(), !record().Sh_Box[i].visible);
      ASSERT_TRUE(selected >= 0 && selected <= kMaxPatches);
      ASSERT_FALSE(cleared &&
                   (!page().Sh_Box[i]->isHidden() || record().Menu_EditSub_Enabled ||
                    !IsBlank(state().pictures.PictPat[i]) || !IsBlank(state().pictures.PictG[i])));
    }
    ASSERT_FALSE(cleared && (record().FlexG.RowCount() > 0 || !IsBlank(state().pictures.PictD)));
    if (cleared) {  // every text as clear-all leaves it on a fresh engine, sort marks apart
      EngineState fresh(state().surfaces);
      But_Clear_Click(fresh);
      Render(fresh);
      fresh.record.FlexG_Headings = record().FlexG_Headings;
      ASSERT_EQ(Mismatches(window(), fresh.record), Strings{});
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
  const auto any = [&] { return files[static_cast<std::size_t>(Pick(files.size()))]; };
  const auto set = [&](int i) { return kAllSets[static_cast<std::size_t>(i + Pick(2))]; };
  const auto pair = [](int i) { return kAllPairs[static_cast<std::size_t>(i)]; };
  ChartPage& p = page();
  const std::function<void(int)> actions[] = {
      [&](int i) {  // a file button, answered by the fake dialog
        dialogs_.openAnswers.push_back(Pick(2) ? std::optional(any()) : std::nullopt);
        QTest::mouseClick(&window().But_File(set(i)), Qt::LeftButton);
      },
      [&](int i) {
        QWidget* targets[] = {&window().But_File(set(i)), &window().Lb_File(set(i)),
                              &window().PictPat(pair(i)), grid().viewport()};
        Offer(targets[Pick(4)], Pick(2) ? Strings{any()} : Strings{any(), any()});
      },
      [&](int i) { Drag(window().PictPat(pair(i)), Pick(5) ? Qt::LeftButton : Qt::RightButton); },
      [&](int i) { Drag(window().PictPat(pair(i)), Qt::LeftButton); },
      [&](int i) { Drag(window().PictG(pair(i)), Qt::RightButton); },
      [&](int i) {  // headings, rows, the grid menu and scrolling
        Drag(i ? *grid().horizontalHeader()->viewport() : *grid().viewport(),
             Pick(4) ? Qt::LeftButton : Qt::RightButton);
        grid().ScrollToRow(Pick(3001));
      },
      [&](int i) {  // copy buttons, keys in the area box, the results export and the manual
        const StatisticsFrame& frame = window().statisticsFrame(pair(i));
        QPushButton* buttons[] = {frame.CopyDe, frame.CopyDe2K, p.But_CPArea[i],
                                  window().dataPage().But_DataR, &window().But_Help()};
        QTest::mouseClick(buttons[Pick(5)], Qt::LeftButton);
        QTest::keyClick(p.Lb_DeBox[i], static_cast<char>('a' + Pick(26)));
      },
      [&](int i) { (i ? p.SldBest : p.SldWorst)->setValue(Pick(21)); },
      [&](int i) { Pick(2) ? p.Opt_de[i]->click() : (i ? p.ChkBest : p.ChkWorst)->click(); },
      [&](int i) { window().TabStrip1().setCurrentIndex(i); },
  };
  window().show();
  int loadedSteps = 0;
  for (int step = 0; step < 2500; ++step) {
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", step " + std::to_string(step));
    const bool clear = Pick(60) == 0;
    if (clear)
      QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
    else
      actions[Pick(std::size(actions))](Pick(2));
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent(clear));
    loadedSteps += state().Current().Loaded(DataSet::Reference) ? 1 : 0;
  }
  EXPECT_GT(loadedSteps, 500);
  EXPECT_GT(platform_.writtenFiles.size() + platform_.savedBitmaps.size(), 0u);
}

}  // namespace
}  // namespace korimo::testing
