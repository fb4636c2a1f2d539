#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "support/FakePlatform.h"
#include "support/TestCharts.h"
#include "ui/Form1.h"

namespace korimo::testing {

// A freshly started main window (offscreen) whose desktop is a fake that
// records calls and answers dialogs, and a folder for measurement files.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : dir_("window"), window_(std::make_unique<Form1>(platform_)) {}

  Form1& window() { return *window_; }
  FormState& state() { return window_->form().state; }
  const ComparisonData& data() { return *window_->form().state.data; }
  std::string Cap(Ctl c, int i = 0) const { return window_->Caption(c, i); }

  // Chooses `path` for a data set through its file button and open dialog.
  void Choose(int set, const std::string& path) {
    platform_.openAnswers.push_back(path);
    window_->form().files.But_File_Click(set);
  }

  std::string Chart(const std::string& name, const std::vector<Patch>& patches, int rowLength = 0) {
    const std::string path = dir_.File(name);
    WriteChart(path, patches, rowLength);
    return path;
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
