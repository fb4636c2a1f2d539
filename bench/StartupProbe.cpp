// Measures what a user waits for and what the window costs:
//   korimo_startup_probe first-paint REFERENCE
//       time from entering main to the end of the window's first paint,
//       started with REFERENCE as the program would be;
//   korimo_startup_probe memory REFERENCE FILE1 FILE2
//       resident memory once all three files are loaded and painted;
//   korimo_startup_probe hold REFERENCE FILE1 FILE2
//       the window with the three files, left open nine seconds for a
//       screenshot (xvfb-run, then `import -window root`).
// Run it under a real X server (xvfb-run) for figures a desktop would see.
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "ProcessStatus.h"
#include "ui/Form1.h"
#include "ui/QtDialogs.h"
#include "ui/QtPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

using korimo::bench::StatusKb;

class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* window, Clock::time_point start) : start_(start) {
    window->installEventFilter(this);
  }
  double milliseconds() const { return ms_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && ms_ < 0) {
      // Let the paint itself run, then take the time.
      static_cast<QWidget*>(watched)->removeEventFilter(this);
      QApplication::sendEvent(watched, event);
      ms_ = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
      QTimer::singleShot(0, qApp, &QApplication::quit);
      return true;
    }
    return false;
  }

 private:
  Clock::time_point start_;
  double ms_ = -1;
};

void DropFile(QWidget& target, const QString& path) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  const QPoint at = target.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&target, &drop);
}

}  // namespace

int main(int argc, char* argv[]) {
  const Clock::time_point start = Clock::now();
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() < (args.value(1) == "hold" ? 5 : 3) ||
      (args[1] != "first-paint" && args[1] != "memory" && args[1] != "hold")) {
    std::cerr << "usage: korimo_startup_probe first-paint REF | memory|hold REF FILE1 FILE2\n";
    return 2;
  }
  korimo::QtPlatform platform;
  korimo::QtDialogs dialogs;
  korimo::Form1 window(platform, dialogs);
  platform.SetWindow(&window);
  dialogs.SetWindow(&window);
  if (args[1] == "hold") {
    window.Form_LoadCommandLine(args[2].toStdString());
    window.show();
    QTimer::singleShot(1000, &window, [&] {
      DropFile(window.But_File(korimo::DataSet::File1), args[3]);
      DropFile(window.But_File(korimo::DataSet::File2), args[4]);
    });
    QTimer::singleShot(9000, qApp, &QApplication::quit);
    return QApplication::exec();
  }
  FirstPaint probe(&window, start);
  window.Form_LoadCommandLine(args[2].toStdString());
  window.show();
  QApplication::exec();
  if (args[1] == "first-paint") {
    std::printf("first paint after %.1f ms (%d patches)\n", probe.milliseconds(),
                window.state().Current().Count(korimo::DataSet::Reference));
    return 0;
  }
  // File1 and File2 dropped on their buttons, as the user adds them.
  for (korimo::DataSet set : {korimo::DataSet::File1, korimo::DataSet::File2}) {
    const int i = static_cast<int>(korimo::Index(set));
    if (i + 2 < args.size())
      DropFile(window.But_File(set), args[i + 2]);
  }
  window.repaint();
  QApplication::processEvents();
  std::printf("resident %ld kB, peak %ld kB, patches %d/%d/%d\n", StatusKb("VmRSS"),
              StatusKb("VmHWM"), window.state().Current().Count(korimo::DataSet::Reference),
              window.state().Current().Count(korimo::DataSet::File1),
              window.state().Current().Count(korimo::DataSet::File2));
  return 0;
}
