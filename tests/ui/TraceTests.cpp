// The window's behaviour pinned as a recorded trace: seeded random user actions on the real
// window, and after every one what the window shows, compared with the trace kept in
// tests/ui/trace/window-trace.txt. The first difference is reported with its step and the
// line stored and the line now. After every action what must hold whatever the trace says is
// checked too: the screen shows what the engine's record holds, counts and selections stay in
// range, and clear-all brings back the start.
//
//   KORIMO_TRACE_RECORD=1 ui_trace_tests   writes the trace anew instead of comparing
//
// Record only for a change of behaviour that was asked for. After every action the trace
// holds the action and every entry whose value changed since the step before ("- NAME": the
// entry is gone), and what the desktop was asked to do (eventN). Paths show the scratch
// folder as <TMP>, its name alone as <TMP-NAME>; written files are hashed so too. Left out, as they
// depend on the machine rather than on the program: the path labels' shortened text (the full
// caption and its tooltip are kept), the tooltips the labels give themselves for a caption too
// wide, the area boxes' tooltips.
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTableWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "app/ClearAll.h"
#include "app/Render.h"
#include "ui/PairingBox.h"
#include "ui/ReportControls.h"
#include "ui/VerificationPage.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kSequences = 300;
constexpr int kSteps = 20;
constexpr int kGridRowsShown = 3;  // grid rows written out; the rest only as a hash
constexpr std::string_view kClearClicked = "But_Clear clicked";

// A 64-bit hash, fast enough for every picture after every action.
class Digest {
 public:
  void Add(std::uint64_t v) {
    h_ = (h_ ^ v) * 0x100000001b3ULL;
    h_ ^= h_ >> 31;
  }
  void Add(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
      std::uint64_t v = 0;
      std::memcpy(&v, bytes.data() + i, 8);
      Add(v);
    }
    for (; i < bytes.size(); ++i)
      Add(static_cast<unsigned char>(bytes[i]));
    Add(bytes.size());
  }
  std::string Hex() const {
    std::uint64_t z = h_;  // splitmix64's finaliser
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(z));
    return text;
  }

 private:
  std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

std::string Utf8(const QString& text) {
  return text.toStdString();
}

// Cells joined by " | ".
std::string Joined(int count, const std::function<QString(int)>& cell) {
  std::string text;
  for (int c = 0; c < count; ++c)
    text += (c ? " | " : "") + Utf8(cell(c));
  return text;
}

// One line per entry: line breaks, tabs and backslashes written as escapes.
std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const std::size_t k = std::string_view("\n\r\t\\").find(c);
    out += k == std::string_view::npos ? std::string(1, c) : std::string{'\\', "nrt\\"[k]};
  }
  return out;
}

std::string PictureText(const Raster* picture) {
  if (picture == nullptr)
    return "none";
  Digest digest;
  for (const std::uint32_t pixel : picture->Pixels())
    digest.Add(std::uint64_t{pixel});
  digest.Add(picture->Pixels().size());
  return std::to_string(picture->Width()) + "x" + std::to_string(picture->Height()) + " #" +
         digest.Hex();
}

std::string SetName(DataSet set) {
  return std::array{"基準", "File1", "File2"}[Index(set)];
}

std::string Answer(const std::optional<std::string>& answer, const char* none = "cancelled") {
  return answer ? *answer : none;
}

// The scratch folder's path replaced, and its name where it stands alone (a report names the
// folder chosen as a file), so that the trace does not depend on them.
std::string Untmp(std::string text, const std::filesystem::path& folder) {
  for (const auto& [from, to] : {std::pair<std::string, std::string_view>{folder.string(), "<TMP>"},
                                 {folder.filename().string(), "<TMP-NAME>"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  }
  return text;
}

// The fake desktop and the window's own dialogs and menus, answered from the queues, telling
// every call as it happens; saves named full* fail.
class TraceDesktop : public FakePlatform, public FakeDialogs {
 public:
  TraceDesktop(std::vector<std::string>& events, const std::filesystem::path& folder)
      : events_(events), folder_(folder) {}

  std::optional<std::string> SaveFileDialog(std::string_view filter) override {
    return Told("save dialog " + std::string(filter), FakePlatform::SaveFileDialog(filter));
  }
  std::optional<std::string> OpenFile(DataSet set) override {
    return Told("open dialog " + SetName(set), FakeDialogs::OpenFile(set));
  }
  std::optional<std::string> OpenCriteriaFile() override {
    return Told("criteria dialog", FakeDialogs::OpenCriteriaFile());
  }
  std::optional<MenuItem> EditMenu(bool itemsEnabled) override {
    const std::optional<MenuItem> answer = FakeDialogs::EditMenu(itemsEnabled);
    Tell(std::string("edit menu, items ") + (itemsEnabled ? "enabled" : "disabled") + ": " +
         (!answer                     ? "closed"
          : *answer == MenuItem::Copy ? "Copy"
                                      : "Save"));
    return answer;
  }
  void ShowMessage(std::string_view text) override { Tell("message: " + std::string(text)); }
  void ClipboardClear() override { Tell("clipboard cleared"); }
  void ClipboardSetText(std::string_view text) override {
    Tell("clipboard text: " + std::string(text));
  }
  void ClipboardSetBitmap(const Raster& picture) override {
    Tell("clipboard bitmap: " + PictureText(&picture));
  }
  void ClipboardSetBitmapAndText(const Raster& picture, std::string_view text) override {
    Tell("clipboard bitmap: " + PictureText(&picture) + ", text: " + std::string(text));
  }
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override {
    if (Full(path))
      return Fail("write " + path);
    // Written texts may quote the paths of the files compared.
    const std::string content = Untmp(std::string(bytes), folder_);
    Digest digest;
    digest.Add(content);
    Tell("write " + path + ": " + std::to_string(content.size()) + " bytes #" + digest.Hex());
    return {};
  }
  WriteOutcome SaveBitmap(const Raster& picture, const std::string& path) override {
    if (Full(path))
      return Fail("bitmap " + path);
    Tell("bitmap " + path + ": " + PictureText(&picture));
    return {};
  }
  void OpenDocument(const std::string& path) override { Tell("open document " + path); }

 private:
  static bool Full(const std::string& path) {
    return std::filesystem::path(path).filename().string().starts_with("full");
  }
  void Tell(const std::string& event) { events_.push_back(Untmp(event, folder_)); }
  WriteOutcome Fail(const std::string& what) {
    Tell(what + ": fails");
    return {"ディスクがいっぱいです"};
  }
  std::optional<std::string> Told(const std::string& what, std::optional<std::string> answer) {
    Tell(what + ": " + Answer(answer));
    return answer;
  }
  std::vector<std::string>& events_;
  const std::filesystem::path folder_;
};

// Where `now` first departs from `stored`: the step, the line stored and the line now.
std::string FirstDifference(const std::string& stored, const std::string& now) {
  if (stored == now)
    return {};
  const std::size_t at = static_cast<std::size_t>(
      std::mismatch(stored.begin(), stored.end(), now.begin(), now.end()).first - stored.begin());
  const std::size_t start = at == 0 ? 0 : stored.rfind('\n', at - 1) + 1;
  const auto line = [](const std::string& text, std::size_t from) {
    return text.substr(from, text.find('\n', from) - from);
  };
  const std::size_t step = now.rfind("\n== ", start);
  return "at step " + (step == std::string::npos ? std::string() : line(now, step + 4)) +
         "\n  stored: " + line(stored, start) + "\n  now:    " + line(now, start);
}

class TraceTest : public ::testing::Test {
 protected:
  TraceTest() : dir_("trace") {}

  void SetUp() override {
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);  // the html report's creation time
    MakePool();
  }

  std::string Trace() {
    std::string text =
        "# The window after seeded random actions; written by tests/ui/TraceTests.cpp with\n"
        "# KORIMO_TRACE_RECORD=1. Per step: the action, what the desktop was asked to do\n"
        "# (eventN), then every entry that changed (\"- NAME\": gone). <TMP>: the scratch "
        "folder,\n# <TMP-NAME> its name.\n";
    for (int s = 0; s < kSequences && !HasFatalFailure(); ++s)
      RunSequence(s, text);
    window_.reset();
    return text;
  }

 private:
  // The files the actions choose from, in the scratch folder so that every path is <TMP>/...
  void MakePool() {
    const auto copies = [&](const std::string& from, const Strings& names) {
      Strings copied;
      for (const std::string& name : names) {
        std::filesystem::copy_file(from + name, dir_.path() / name);
        copied.push_back(dir_.File(name));
      }
      return copied;
    };
    const std::string samples = KORIMO_SAMPLES_DIR "/", inputs = KORIMO_GOLDEN_DIR "/inputs/";
    for (const std::string size : {"small-", "large-"})
      families_.push_back(
          copies(samples, {size + "reference.txt", size + "file1.txt", size + "file2.txt"}));
    families_.push_back(
        copies(samples, {"wedge-reference.txt", "wedge-proof-pass.txt", "wedge-proof-fail.txt"}));
    families_.push_back(copies(
        inputs, {"pair-ref.txt", "pair-shuffled.txt", "pair-incomplete.txt", "pair-dup-id.txt",
                 "pair-renamed.txt", "pair-rgb.txt", "pair-fifteen.txt", "pair-fourteen.txt"}));
    for (const Strings& family : families_)
      pool_.insert(pool_.end(), family.begin(), family.end());
    families_.push_back(families_.back());  // chosen twice as often: the pairing box has most to do
    std::mt19937 bytes(kSeed);
    std::string junk(20000, ' ');
    for (char& c : junk)
      c = static_cast<char>(bytes());
    pool_.insert(pool_.end(), {dir_.Chart("odd.txt", Offsets({0, 5, 1, 5, 0.001, 12, 3}), 3),
                               dir_.Chart("tall.txt", Flat(400), 200),  // cells of 2 pixels
                               dir_.Write("junk.bin", junk), dir_.File("missing.txt"),
                               dir_.path().string(), dir_.File("link.lnk"), "/dev/zero"});

    criteria_ = copies(inputs, {"house-criteria.txt", "wedge-criteria.txt"});
    criteria_.push_back(
        dir_.Write("broken-criteria.txt", "name: Broken\nall:de:max<=1\nall:de:max<2\n"));
    criteria_.push_back(
        dir_.Write("unknown-role.txt", "name: Unknown\nall:de00:avg<=2\nsomewhere:de:max<=1\n"));
    criteria_.push_back(dir_.File("missing-criteria.txt"));
    criteria_.push_back(families_[0][0]);  // a measurement file is no criteria file
  }

  int Pick(std::size_t n) { return static_cast<int>(rng_() % n); }
  template <typename T>
  const T& Any(const std::vector<T>& from) {
    return from[static_cast<std::size_t>(Pick(from.size()))];
  }
  // Mostly the sequence's own family of files, so that pairs and criteria meet.
  std::string AnyFile() { return Pick(3) ? Any(*family_) : Any(pool_); }
  std::optional<std::string> AnySave() {
    switch (Pick(6)) {
      case 0:
        return std::nullopt;
      case 1:
        return dir_.File("full");
      case 2:
        return AnyFile();  // one of the files compared: refused
      default:
        return dir_.File(Pick(2) ? "out" : "out.bmp");
    }
  }
  QPoint Somewhere(const QWidget& w) {
    return {Pick(static_cast<std::size_t>(w.width() + 20)) - 10,
            Pick(static_cast<std::size_t>(w.height() + 20)) - 10};
  }
  static std::string Text(QPoint p) {
    return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")";
  }
  Form1& window() { return *window_; }
  ChartPage& page() { return window_->chartPage(); }
  FlexGrid& grid() { return window_->FlexG(); }

  // The answers one action gets, and their description.
  std::string Answers(bool menu, bool save) {
    std::string text;
    if (menu) {
      const int item = Pick(3);
      desktop_->menuAnswers.push_back(item == 0   ? std::nullopt
                                      : item == 1 ? std::optional(MenuItem::Copy)
                                                  : std::optional(MenuItem::Save));
      text += std::string(", menu answers ") + std::array{"close", "Copy", "Save"}[item];
    }
    if (save) {
      const std::optional<std::string> answer = AnySave();
      desktop_->saveAnswers.push_back(answer);
      text += ", save answers " + Answer(answer, "cancel");
    }
    return text;
  }

  // A hover, then press, motion and release of `button` with `modifiers` on `target`.
  std::string Drag(const std::string& target, QWidget& w, Qt::MouseButton button,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    std::string text = target + " " + (button == Qt::LeftButton ? "left" : "right");
    for (const auto& [modifier, name] : {std::pair{Qt::ShiftModifier, "+Shift"},
                                         {Qt::ControlModifier, "+Ctrl"},
                                         {Qt::AltModifier, "+Alt"}})
      text += modifiers & modifier ? name : "";
    const std::string answers = Answers(true, true);
    const QPoint hover = Somewhere(w);
    const QPoint press = Somewhere(w);
    QTest::mouseMove(&w, hover);
    QTest::mousePress(&w, button, modifiers, press);
    text += ": hover " + Text(hover) + " press " + Text(press);
    for (int m = Pick(4); m > 0; --m) {
      const QPoint to = Somewhere(w);
      QTest::mouseMove(&w, to);
      text += " move " + Text(to);
    }
    const QPoint release = Somewhere(w);
    QTest::mouseRelease(&w, button, modifiers, release);
    return text + " release " + Text(release) + answers;
  }

  // One random action through the window's controls, described.
  std::string Act() {
    const int i = Pick(2);
    const auto set = [&] { return kAllSets[static_cast<std::size_t>(Pick(3))]; };
    const auto pair = kAllPairs[static_cast<std::size_t>(i)];
    const std::string n = std::to_string(i), chart = "PictPat" + n;
    PictureBox& pict = window().PictPat(pair);
    switch (Pick(24)) {
      case 0:
      case 1:
      case 2:
      case 3: {  // a file button, answered by the open dialog
        const DataSet s = set();
        const std::optional<std::string> answer = Pick(6) ? std::optional(AnyFile()) : std::nullopt;
        desktop_->openAnswers.push_back(answer);
        QTest::mouseClick(&window().But_File(s), Qt::LeftButton);
        return "button " + SetName(s) + ", dialog answers " + Answer(answer, "cancel");
      }
      case 4:
      case 5: {  // files dropped on a button, a path label, a chart or the grid
        const DataSet s = set();
        const std::size_t target = static_cast<std::size_t>(Pick(4));
        QWidget* targets[] = {&window().But_File(s), &window().Lb_File(s), &pict,
                              grid().viewport()};
        const std::string names[] = {"But_File " + SetName(s), "Lb_File " + SetName(s), chart,
                                     "FlexG"};
        if (Pick(12) == 0) {
          Offer(targets[target], {}, QStringLiteral("text, not a file"));
          return "text dropped on " + names[target];
        }
        Strings files = {AnyFile()};
        if (Pick(3) == 0)
          files.push_back(AnyFile());
        Offer(targets[target], files);
        std::string text = "dropped on " + names[target] + ":";
        for (const std::string& f : files)
          text += " " + f;
        return text;
      }
      case 6:
      case 7: {  // hovering over a chart
        std::string text = chart + " hover";
        for (int m = 1 + Pick(3); m > 0; --m) {
          const QPoint to = Somewhere(pict);
          QTest::mouseMove(&pict, to);
          text += " " + Text(to);
        }
        return text;
      }
      case 8: {  // a click on a patch
        const QPoint at = Somewhere(pict);
        QTest::mouseMove(&pict, at);
        QTest::mouseClick(&pict, Qt::LeftButton, {}, at);
        return chart + " click " + Text(at);
      }
      case 9:
      case 10: {  // an area: Shift (or another modifier) and a drag
        const Qt::KeyboardModifiers modifiers =
            Pick(4) ? Qt::ShiftModifier : Qt::KeyboardModifier(Qt::ControlModifier << Pick(2));
        return Drag(chart, pict, Pick(4) ? Qt::RightButton : Qt::LeftButton, modifiers);
      }
      case 11:  // the chart's menu
        return Drag(chart, pict, Qt::RightButton);
      case 12:  // the histogram's menu
        return Drag("PictG" + n, window().PictG(pair), Qt::RightButton);
      case 13: {  // a heading, a row, or the grid's menu
        const int what = Pick(4);
        if (what == 0) {
          const int col = Pick(kGridCols);
          ClickHeading(grid(), col);
          return "FlexG heading " + std::to_string(col) + " clicked";
        }
        if (what == 1) {
          const QPoint at = Somewhere(*grid().viewport());
          QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, at);
          return "FlexG row clicked at " + Text(at);
        }
        return Drag("FlexG", *grid().viewport(), what == 2 ? Qt::RightButton : Qt::LeftButton);
      }
      case 14: {
        const int row = Pick(2) ? Pick(40) : Pick(1700);
        grid().ScrollToRow(row);
        return "FlexG scrolled to row " + std::to_string(row);
      }
      case 15: {  // the copy buttons, and a key typed into the area box
        const StatisticsFrame& frame = window().statisticsFrame(pair);
        const int which = Pick(4);
        QPushButton* buttons[] = {frame.CopyDe, frame.CopyDe2K, page().But_CPArea[i],
                                  page().But_CPArea[i]};
        QTest::mouseClick(buttons[which], Qt::LeftButton);
        const char key = static_cast<char>('a' + Pick(26));
        QTest::keyClick(page().Lb_DeBox[i], key);
        return std::array{"CopyDe", "CopyDe2K", "But_CPArea", "But_CPArea"}[which] + n +
               " clicked, then key " + std::string(1, key) + " in Lb_DeBox" + n;
      }
      case 16: {  // the results export, or the manual
        if (Pick(5) == 0) {
          QTest::mouseClick(&window().But_Help(), Qt::LeftButton);
          return "But_Help clicked";
        }
        const std::string answers = Answers(false, true);
        QTest::mouseClick(window().dataPage().But_DataR, Qt::LeftButton);
        return "But_DataR clicked" + answers;
      }
      case 17: {
        const int to = Pick(21);
        (i ? page().SldBest : page().SldWorst)->setValue(to);
        return std::string(i ? "SldBest" : "SldWorst") + " to " + std::to_string(to);
      }
      case 18: {
        if (Pick(2)) {
          page().Opt_de[i]->click();
          return "Opt_de" + n + " clicked";
        }
        (i ? page().ChkBest : page().ChkWorst)->click();
        return std::string(i ? "ChkBest" : "ChkWorst") + " clicked";
      }
      case 19: {
        const int tab = Pick(3);
        window().TabStrip1().setCurrentIndex(tab);
        return "tab " + std::to_string(tab);
      }
      case 20:
      case 21: {  // the pairing box
        QComboBox& combo = window().Cmb_Pairing().Combo();
        const int mode = Pick(static_cast<std::size_t>(combo.count()));
        combo.setCurrentIndex(mode);
        emit combo.activated(mode);
        return "対応 chosen: " + Utf8(combo.itemText(mode));
      }
      case 22: {  // a criteria set, or a file of criteria
        QComboBox& choice = *window().verificationPage().setChoice;
        const int index = Pick(static_cast<std::size_t>(choice.count()));
        std::string text = "criteria chosen: " + Utf8(choice.itemText(index));
        if (index == VerificationPage::FromFileIndex()) {
          const std::optional<std::string> answer =
              Pick(5) ? std::optional(Any(criteria_)) : std::nullopt;
          desktop_->criteriaAnswers.push_back(answer);
          text += ", dialog answers " + Answer(answer, "cancel");
        }
        choice.setCurrentIndex(index);
        emit choice.activated(index);
        return text;
      }
      default: {
        if (Pick(3) == 0) {
          QTest::mouseClick(&window().But_Clear(), Qt::LeftButton);
          return std::string(kClearClicked);
        }
        ReportControls& report = window().reportControls();
        std::string text = "report saved";
        if (Pick(3) == 0) {
          report.allPatches().click();
          text += std::string(" (every patch: ") +
                  (report.allPatches().isChecked() ? "on" : "off") + ")";
        }
        text += Answers(false, true);
        QTest::mouseClick(&report.saveButton(), Qt::LeftButton);
        return text;
      }
    }
  }

  // What the window shows, entry by entry, as the widgets show it.
  std::vector<std::pair<std::string, std::string>> Snapshot() {
    std::vector<std::pair<std::string, std::string>> out;
    const auto add = [&](std::string name, const std::string& value) {
      out.emplace_back(std::move(name), Escape(Untmp(value, dir_.path())));
    };
    const auto label = [&](std::string name, const QLabel& l) {
      add(std::move(name), Utf8(l.text()));
    };
    const auto picture = [&](std::string name, const PictureBox& box) {
      add(std::move(name), PictureText(box.Picture()));
    };
    Form1& w = window();
    const ChartPage& c = page();
    add("Caption", Utf8(w.windowTitle()));
    for (DataSet s : kAllSets) {
      const std::string n = std::to_string(Index(s));
      add("Lb_File" + n, Utf8(w.Lb_File(s).FullText()));
      add("Lb_File" + n + ".tip", Utf8(w.Lb_File(s).toolTip()));
      label("Lb_NoP" + n, w.Lb_NoP(s));
    }
    add("TabStrip1", Utf8(w.TabStrip1().tabText(w.TabStrip1().currentIndex())));
    add("Cmb_Pairing", Utf8(w.Cmb_Pairing().Combo().currentText()));
    for (Pair pair : kAllPairs) {
      const std::size_t p = Index(pair);
      const std::string n = std::to_string(p);
      const CaptionLabel& strip = w.Lb_Pairing(pair);
      label("Lb_Pairing" + n, strip);
      // A tooltip of its own; the one a caption too wide gives itself depends on the fonts.
      add("Lb_Pairing" + n + ".tip", strip.toolTip() == strip.text() ? "" : Utf8(strip.toolTip()));
      const StatisticsFrame& f = w.statisticsFrame(pair);
      for (std::size_t k = 0; k < 2; ++k) {
        label("Lb_De" + std::to_string(2 * p + k), *f.De[k]);
        label("Lb_De2K" + std::to_string(2 * p + k), *f.De2K[k]);
      }
      for (const auto& [name, l] : {std::pair{"Lb_BestDe", f.BestDe},
                                    {"Lb_Best2K", f.Best2K},
                                    {"Lb_WorsDe", f.WorsDe},
                                    {"Lb_Wors2K", f.Wors2K},
                                    {"Lb_GX", f.GX},
                                    {"Lb_GY", f.GY},
                                    {"G0_", f.G0}})
        label(name + n, *l);
      picture("PictG" + n, w.PictG(pair));
      label("Lb_PDe" + n, *c.Lb_PDe[p]);
      label("Lb_FDe" + n, *c.Lb_FDe[p]);
      add("Lb_DeBox" + n, Utf8(c.Lb_DeBox[p]->text()));
      label("Lb_UPar" + n, *c.Lb_UPar[p]);
      label("Lb_OPar" + n, *c.Lb_OPar[p]);
      const QRect box = c.Sh_Box[p]->geometry();
      add("Sh_Box" + n, std::string(c.Sh_Box[p]->isHidden() ? "hidden " : "shown ") +
                            std::to_string(box.x()) + "," + std::to_string(box.y()) + " " +
                            std::to_string(box.width()) + "x" + std::to_string(box.height()));
      picture("PictPat" + n, w.PictPat(pair));
      add("Opt_de" + n, c.Opt_de[p]->isChecked() ? "checked" : "");
    }
    add("ChkBest", Utf8(c.ChkBest->text()) + (c.ChkBest->isChecked() ? " [x]" : " [ ]"));
    add("ChkWorst", Utf8(c.ChkWorst->text()) + (c.ChkWorst->isChecked() ? " [x]" : " [ ]"));
    add("SldBest", std::to_string(c.SldBest->value()));
    add("SldWorst", std::to_string(c.SldWorst->value()));
    picture("PictD", w.PictD());
    GridEntries(add);
    VerificationEntries(add);
    add("Report.allPatches", w.reportControls().allPatches().isChecked() ? "on" : "off");
    return out;
  }

  template <typename Add>
  void GridEntries(const Add& add) {
    const QAbstractItemModel& model = *grid().model();
    add("FlexG.headings",
        Joined(kGridCols, [&](int c) { return model.headerData(c, Qt::Horizontal).toString(); }));
    // Every cell is read again only once the model told its views of a change.
    if (gridChanged_) {
      gridChanged_ = false;
      Digest digest;
      gridRows_.clear();
      for (int r = 0; r < model.rowCount(); ++r) {
        const std::string cells =
            Joined(kGridCols, [&](int c) { return model.index(r, c).data().toString(); });
        digest.Add(cells);
        if (r < kGridRowsShown)
          gridRows_.push_back(cells);
      }
      gridHash_ = std::to_string(model.rowCount()) + " rows #" + digest.Hex();
    }
    add("FlexG.rows", gridHash_);
    for (std::size_t r = 0; r < kGridRowsShown; ++r)
      add("FlexG.row" + std::to_string(r + 1), r < gridRows_.size() ? gridRows_[r] : "");
    add("FlexG.top", std::to_string(grid().TopRow()));
  }

  // The verification page: its choice, its title, then every label and table cell of its
  // content in layout order.
  template <typename Add>
  void VerificationEntries(const Add& add) {
    VerificationPage& v = window().verificationPage();
    add("Verify.choice", Utf8(v.setChoice->currentText()));
    for (const QLabel* title : v.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      add("Verify.title", Utf8(title->text()));
    int n = 0;
    const auto name = [&] {
      char text[24];
      std::snprintf(text, sizeof text, "Verify.%03d", ++n);
      return std::string(text);
    };
    // Its widgets are made in the order they are laid out.
    for (const QWidget* widget : v.findChild<QScrollArea*>()->widget()->findChildren<QWidget*>()) {
      if (const auto* table = qobject_cast<const QTableWidget*>(widget)) {
        const std::string tableName = name();
        add(tableName, Joined(table->columnCount(),
                              [&](int c) { return table->horizontalHeaderItem(c)->text(); }));
        for (int r = 0; r < table->rowCount(); ++r) {
          add(tableName + ".r" + std::to_string(r + 1), Joined(table->columnCount(), [&](int c) {
                const QTableWidgetItem* cell = table->item(r, c);
                return cell != nullptr ? cell->text() : QString();
              }));
        }
      } else if (const auto* text = qobject_cast<const QLabel*>(widget)) {
        add(name(), Utf8(text->text()));
      }
    }
  }

  // Writes the step: its events, then what changed since the step before.
  void Write(std::string& text, const std::string& heading) {
    text += "== " + heading + "\n";
    for (std::size_t e = 0; e < events_.size(); ++e)
      text += "event" + std::to_string(e + 1) + " = " + Escape(events_[e]) + "\n";
    events_.clear();
    std::set<std::string> now;
    for (auto& [name, value] : Snapshot()) {
      now.insert(name);
      const auto was = last_.find(name);
      if (was == last_.end() || was->second != value) {
        text += name + " = " + value + "\n";
        last_[name] = std::move(value);
      }
    }
    std::erase_if(last_, [&](const auto& entry) {
      const bool gone = !now.contains(entry.first);
      text += gone ? "- " + entry.first + "\n" : "";
      return gone;
    });
  }

  // What must hold after any action, whatever the trace holds.
  void ExpectConsistent(bool cleared) {
    const EngineState& state = window_->state();
    const WindowRecord& record = state.record;
    ASSERT_EQ(Mismatches(window(), record), Strings{});
    for (DataSet s : kAllSets) {
      const int n = state.Current().Count(s);
      const bool chosen = !record.Lb_File[Index(s)].empty();
      ASSERT_TRUE(n >= 0 && n <= kMaxPatches && (n == 0 || chosen)) << n;
      ASSERT_FALSE(cleared && (n > 0 || chosen));
    }
    ASSERT_LE(std::abs(state.inputs.sortKey), 14);
    for (Pair c : kAllPairs) {
      const std::size_t i = Index(c);
      const int selected = state.ui.mouse[i].PrevPatch;
      ASSERT_EQ(page().Sh_Box[i]->isHidden(), !record.Sh_Box[i].visible);
      ASSERT_TRUE(selected >= 0 && selected <= kMaxPatches);
      ASSERT_FALSE(cleared &&
                   (!page().Sh_Box[i]->isHidden() || record.Menu_EditSub_Enabled ||
                    !IsBlank(state.pictures.PictPat[i]) || !IsBlank(state.pictures.PictG[i])));
    }
    ASSERT_FALSE(cleared && (record.FlexG.RowCount() > 0 || !IsBlank(state.pictures.PictD)));
    if (cleared) {  // every text as clear-all leaves it on a fresh engine, sort marks apart
      EngineState fresh(state.surfaces);
      But_Clear_Click(fresh);
      Render(fresh);
      fresh.record.FlexG_Headings = record.FlexG_Headings;
      ASSERT_EQ(Mismatches(window(), fresh.record), Strings{});
    }
  }

  // A new window on a new desktop, then kSteps actions.
  void RunSequence(int s, std::string& text) {
    rng_.seed(kSeed + static_cast<unsigned>(s));
    window_.reset();
    QCursor::setPos(QPoint(4000, 4000));  // away from the new window
    desktop_ = std::make_unique<TraceDesktop>(events_, dir_.path());
    window_ = std::make_unique<Form1>(*desktop_, *desktop_);
    QAbstractItemModel* model = grid().model();
    gridChanged_ = true;
    const auto changed = [this] { gridChanged_ = true; };
    QObject::connect(model, &QAbstractItemModel::modelReset, model, changed);
    QObject::connect(model, &QAbstractItemModel::dataChanged, model, changed);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, model, changed);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, model, changed);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, model, changed);
    window_->show();
    family_ = &Any(families_);
    const std::string sequence = std::to_string(s) + ".";
    Write(text, sequence + "0 a new window");
    for (int step = 1; step <= kSteps; ++step) {
      desktop_->openAnswers.clear();
      desktop_->menuAnswers.clear();
      desktop_->criteriaAnswers.clear();
      desktop_->saveAnswers.clear();
      const std::string action = Untmp(Act(), dir_.path());
      const std::string heading = sequence + std::to_string(step) + " " + Escape(action);
      Write(text, heading);
      SCOPED_TRACE(heading);
      ASSERT_NO_FATAL_FAILURE(ExpectConsistent(action == kClearClicked));
    }
  }

  TempDir dir_;
  std::vector<Strings> families_;
  const Strings* family_ = nullptr;
  Strings pool_;
  Strings criteria_;
  std::mt19937 rng_;
  std::vector<std::string> events_;
  std::unique_ptr<TraceDesktop> desktop_;
  std::unique_ptr<Form1> window_;
  std::map<std::string, std::string> last_;
  bool gridChanged_ = true;
  std::string gridHash_;
  Strings gridRows_;
};

TEST_F(TraceTest, WindowShowsWhatTheRecordedTraceHolds) {
  const std::string trace = Trace();
  const std::filesystem::path stored = KORIMO_TRACE_FILE;
  const char* record = std::getenv("KORIMO_TRACE_RECORD");
  if (record != nullptr && std::string_view(record) == "1") {
    std::filesystem::create_directories(stored.parent_path());
    std::ofstream(stored, std::ios::binary) << trace;
    GTEST_SKIP() << "trace recorded in " << stored;
  }
  ASSERT_TRUE(std::filesystem::exists(stored))
      << stored << " is missing; record it with KORIMO_TRACE_RECORD=1";
  const std::string difference = FirstDifference(ReadAll(stored), trace);
  if (!difference.empty()) {
    const std::filesystem::path fresh =
        std::filesystem::temp_directory_path() / "korimo-window-trace.new.txt";
    std::ofstream(fresh, std::ios::binary) << trace;
    FAIL() << "The window departs from " << stored << "\n"
           << difference << "\n(this run's whole trace: " << fresh << ")";
  }
}

}  // namespace
}  // namespace korimo::testing
