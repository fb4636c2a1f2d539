#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "support/FormDriver.h"
#include "ui/BitmapConvert.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"

namespace korimo::testing {

using Strings = std::vector<std::string>;

// A fresh main window (offscreen) on a fake desktop, and a folder for files.
class WindowTest : public ::testing::Test, protected FormDriver {
 protected:
  WindowTest() : FormDriver("window"), window_(std::make_unique<Form1>(platform_)) {}

  Form& form() override { return window_->form(); }
  const FormView& view() const override { return *window_; }
  Form1& window() { return *window_; }

  void Show() {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  static bool IsBlank(const PictureBox& box) {
    QImage blank = box.Image();
    blank.fill(PackedToQRgb(box.Background()));
    return box.Image() == blank;
  }

  // A file list as the desktop's file manager drags it.
  static std::unique_ptr<QMimeData> UriList(const std::vector<std::string>& paths) {
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const auto& p : paths)
      urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    mime->setUrls(urls);
    return mime;
  }

  std::unique_ptr<Form1> window_;
};

}  // namespace korimo::testing
