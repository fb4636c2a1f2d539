#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "support/FakePlatform.h"
#include "support/TestCharts.h"
#include "ui/BitmapConvert.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"

namespace korimo::testing {

using Strings = std::vector<std::string>;

// A fresh main window (offscreen) on a fake desktop, and a folder for files.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : dir_("window"), window_(std::make_unique<Form1>(platform_)) {}

  Form1& window() { return *window_; }
  FormState& state() { return window_->form().state; }
  const ComparisonData& data() { return *window_->form().state.data; }
  std::string Cap(Ctl c, int i = 0) const { return window_->Caption(c, i); }

  void Show() {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  // Chooses `path` for a set as its file button's open dialog would.
  void Choose(int set, const std::string& path) {
    platform_.openAnswers.push_back(path);
    window_->form().files.But_File_Click(set);
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    const std::string path = dir_.File(name);
    WriteChart(path, patches, rowLength);
    return path;
  }

  // A flat Reference and a File1 lying d[i] above it.
  void LoadPair(const std::vector<double>& d, int rowLength = 0) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(d.size())), rowLength));
    Choose(1, Chart("f1.txt", Offsets(d), rowLength));
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

  TempDir dir_;
  FakePlatform platform_;
  std::unique_ptr<Form1> window_;
};

}  // namespace korimo::testing
