#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include "app/HeadlessWindow.h"
#include "color/ColorConvert.h"
#include "support/FormDriver.h"
#include "ui/BitmapConvert.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FlexGrid.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"

namespace korimo::testing {

using Strings = std::vector<std::string>;

// Drags files (or, without paths, `text`) onto `target`: how many of entry and drop it took.
inline int Offer(QWidget* target, const Strings& paths, const QString& text = {}) {
  QMimeData mime;
  for (const auto& p : paths)
    mime.setUrls(mime.urls() << QUrl::fromLocalFile(QString::fromStdString(p)));
  if (paths.empty())
    mime.setText(text);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return int{enter.isAccepted()} + int{drop.isAccepted()};
}

// A fresh main window (offscreen) on a fake desktop, and a folder for files.
class WindowTest : public ::testing::Test, protected FormDriver {
 protected:
  WindowTest() : FormDriver("window"), window_(std::make_unique<Form1>(platform_)) {}
  Form& form() override { return window_->form(); }
  const FormView& view() const override { return *window_; }
  Form1& window() { return *window_; }
  ChartPage& page() { return window_->chartPage(); }
  FlexGrid& grid() { return *window_->dataPage().FlexG; }

  void Show(int tab = 0) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->TabStrip1().setCurrentIndex(tab);
  }
  void ClickHeading(int col) {
    QHeaderView* header = grid().horizontalHeader();
    grid().scrollTo(grid().model()->index(0, col));
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  }
  static bool IsBlank(const PictureBox& box) {
    QImage blank = box.Image();
    blank.fill(PackedToQRgb(box.Background()));
    return box.Image() == blank;
  }

  std::unique_ptr<Form1> window_;
};

}  // namespace korimo::testing
