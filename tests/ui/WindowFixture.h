#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ReadNotes.h"
#include "support/FakePlatform.h"
#include "support/TestCharts.h"
#include "ui/AreaBox.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"
#include "ui/WindowDialogs.h"

namespace korimo::testing {

using Strings = std::vector<std::string>;

// Answers the window's open dialogs and Edit menus from queues the test
// fills (an empty queue cancels) and records how each menu was shown.
class FakeDialogs : public WindowDialogs {
 public:
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<MenuItem>> menuAnswers;
  std::deque<std::optional<std::string>> criteriaAnswers;
  std::deque<std::optional<std::string>> folderAnswers;

  std::optional<std::string> OpenFile(DataSet) override { return NextAnswer(openAnswers); }
  std::optional<std::string> OpenCriteriaFile() override { return NextAnswer(criteriaAnswers); }
  std::optional<std::string> ChooseWatchedFolder() override { return NextAnswer(folderAnswers); }
  std::optional<MenuItem> EditMenu(bool) override { return NextAnswer(menuAnswers); }
};

// Drags files (or, without paths, `text`) onto `target`: how many of entry and drop it took.
inline int Offer(QWidget* target, const Strings& paths, const QString& text = {}) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const auto& p : paths)
    urls << QUrl::fromLocalFile(QString::fromStdString(p));
  if (paths.empty())
    mime.setText(text);
  else
    mime.setUrls(urls);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return int{enter.isAccepted()} + int{drop.isAccepted()};
}

// A click in the middle of a column's heading, scrolled into view.
inline void ClickHeading(FlexGrid& grid, int col) {
  QHeaderView* header = grid.horizontalHeader();
  grid.scrollTo(grid.model()->index(0, col));
  const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

inline std::string Text(const QString& shown) {
  return QString(shown).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

inline bool IsBlank(const Raster& picture) {
  return std::ranges::all_of(picture.Pixels(),
                             [&](std::uint32_t p) { return p == picture.Background(); });
}

// Every text the window shows that differs from what the record holds, named
// after its control; the grid's cells and headings included.
inline Strings Mismatches(Form1& w, const WindowRecord& r) {
  Strings wrong;
  const auto check = [&](const std::string& name, const QString& shown, std::string_view held) {
    if (Text(shown) != held)
      wrong.push_back(name + " shows \"" + Text(shown) + "\", not \"" + std::string(held) + "\"");
  };
  check("Caption", w.windowTitle(), r.Caption);
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    check("Lb_File" + std::to_string(s), w.Lb_File(set).FullText(), r.Lb_File[s]);
    check("Lb_NoP" + std::to_string(s), w.Lb_NoP(set).text(), r.Lb_NoP[s]);
  }
  const ChartPage& page = w.chartPage();
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    const std::string i = std::to_string(p);
    const StatisticsFrame& f = w.statisticsFrame(pair);
    for (std::size_t k = 0; k < 2; ++k) {
      check("Lb_De" + std::to_string(2 * p + k), f.De[k]->text(), r.Lb_De[2 * p + k]);
      check("Lb_De2K" + std::to_string(2 * p + k), f.De2K[k]->text(), r.Lb_De2K[2 * p + k]);
    }
    check("Lb_BestDe" + i, f.BestDe->text(), r.Lb_BestDe[p]);
    check("Lb_Best2K" + i, f.Best2K->text(), r.Lb_Best2K[p]);
    check("Lb_WorsDe" + i, f.WorsDe->text(), r.Lb_WorsDe[p]);
    check("Lb_Wors2K" + i, f.Wors2K->text(), r.Lb_Wors2K[p]);
    check("Lb_GX" + i, f.GX->text(), r.Lb_GX[p]);
    check("Lb_GY" + i, f.GY->text(), r.Lb_GY[p]);
    check("Lb_PDe" + i, page.Lb_PDe[p]->text(), r.Lb_PDe[p]);
    check("Lb_FDe" + i, page.Lb_FDe[p]->text(), r.Lb_FDe[p]);
    check("Lb_DeBox" + i, page.Lb_DeBox[p]->text(), r.Lb_DeBox[p]);
    check("Lb_UPar" + i, page.Lb_UPar[p]->text(), r.Lb_UPar[p]);
    check("Lb_OPar" + i, page.Lb_OPar[p]->text(), r.Lb_OPar[p]);
    check("Lb_Pairing" + i, w.Lb_Pairing(pair).FullText(), ComposeStrip(r).lines[p]);
  }
  check("ChkBest", page.ChkBest->text(), r.ChkBest);
  check("ChkWorst", page.ChkWorst->text(), r.ChkWorst);
  const QAbstractItemModel& grid = *w.FlexG().model();
  for (std::size_t c = 0; c < kGridCols; ++c) {
    const int col = static_cast<int>(c);
    check("heading" + std::to_string(c), grid.headerData(col, Qt::Horizontal).toString(),
          r.FlexG_Headings[c]);
    for (std::size_t row = 0; row < r.FlexG.RowCount() && wrong.size() < 10; ++row)
      check("cell" + std::to_string(row) + "," + std::to_string(c),
            grid.index(static_cast<int>(row), col).data().toString(), r.FlexG.Row(row)[c]);
  }
  if (grid.rowCount() != static_cast<int>(r.FlexG.RowCount()))
    wrong.push_back("the grid shows " + std::to_string(grid.rowCount()) + " rows");
  return wrong;
}

// A fresh main window (offscreen) on a fake desktop, and a folder for files.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : dir_("window"), window_(std::make_unique<Form1>(platform_, dialogs_)) {}

  Form1& window() { return *window_; }
  ChartPage& page() { return window_->chartPage(); }
  FlexGrid& grid() { return window_->FlexG(); }
  const EngineState& state() { return window_->state(); }
  const WindowRecord& record() { return window_->state().record; }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    return dir_.Chart(name, patches, rowLength);
  }
  // Chooses `path` for a set through its file button's open dialog.
  void Choose(DataSet set, const std::string& path) {
    dialogs_.openAnswers.push_back(path);
    QTest::mouseClick(&window_->But_File(set), Qt::LeftButton);
  }
  // A flat Reference and a File1 lying d[i] above it.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(DataSet::Reference, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(DataSet::File1, Chart("f1.txt", Offsets(d), rowLength));
  }
  void Show(int tab = 0) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->TabStrip1().setCurrentIndex(tab);
  }

  TempDir dir_;
  FakePlatform platform_;
  FakeDialogs dialogs_;
  std::unique_ptr<Form1> window_;
};

}  // namespace korimo::testing
