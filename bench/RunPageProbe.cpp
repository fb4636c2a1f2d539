// Measures the run page while it takes many sheets:
//   korimo_run_probe [--check N] [--metric de00] [--hover SHEET] [--shot FILE]
//                    REFERENCE PATH...
// starts the window with REFERENCE as the Reference, shows the "推移" page,
// optionally chooses the N-th built-in criteria set and the ⊿E00 option,
// drops the PATHs (files or folders) on the page and waits for the run. It
// prints the time from the drop to the complete run, the longest event the
// window's thread handled meanwhile (every event counts from Qt's delivery
// to its return, paints included), and the peak resident memory. With
// --shot it saves the screen (the hover tip included) as PNG.
// Run it under a real X server (xvfb-run) for figures a desktop would see.
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include <malloc.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "ProcessStatus.h"
#include "QuietDialogs.h"
#include "QuietPlatform.h"
#include "ui/ChartPage.h"
#include "ui/Form1.h"
#include "ui/RunPage.h"
#include "ui/StaticCaptions.h"
#include "ui/TrendPlot.h"
#include "ui/VerificationPage.h"

namespace {

using korimo::bench::StatusKb;

// Times every event the window's thread delivers, outermost only.
class TimingApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    if (depth_++ > 0) {
      if (!measuring || event->type() != QEvent::Paint) {
        const bool done = QApplication::notify(receiver, event);
        --depth_;
        return done;
      }
      // Each widget's paint inside the window's, by class.
      const char* painted = receiver->metaObject()->className();
      QElapsedTimer timer;
      timer.start();
      const bool done = QApplication::notify(receiver, event);
      qint64& longest = longestPaintNs[painted];
      longest = std::max(longest, timer.nsecsElapsed());
      --depth_;
      return done;
    }
    // The receiver may be gone once the event is handled.
    const int type = event->type();
    const char* receiverClass = receiver->metaObject()->className();
    QElapsedTimer timer;
    timer.start();
    const bool done = QApplication::notify(receiver, event);
    const qint64 ns = timer.nsecsElapsed();
    --depth_;
    if (measuring && ns > longestNs) {
      longestNs = ns;
      longestType = type;
      longestReceiver = receiverClass;
    }
    return done;
  }

  bool measuring = false;
  std::map<std::string, qint64> longestPaintNs;
  qint64 longestNs = 0;
  int longestType = 0;
  std::string longestReceiver;

 private:
  int depth_ = 0;
};

void Drop(QWidget& target, const QStringList& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& path : paths)
    urls << QUrl::fromLocalFile(path);
  mime.setUrls(urls);
  const QPoint at = target.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
  QApplication::sendEvent(&target, &drop);
}

}  // namespace

int main(int argc, char* argv[]) {
  TimingApplication app(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  int check = 0;
  bool de00 = false;
  int hover = -1;
  QString shot;
  while (args.size() > 1 && args.first().startsWith(QStringLiteral("--"))) {
    const QString option = args.takeFirst();
    if (option == QStringLiteral("--metric")) {
      de00 = args.takeFirst() == QStringLiteral("de00");
    } else if (option == QStringLiteral("--check")) {
      check = args.takeFirst().toInt();
    } else if (option == QStringLiteral("--hover")) {
      hover = args.takeFirst().toInt();
    } else if (option == QStringLiteral("--shot")) {
      shot = args.takeFirst();
    }
  }
  if (args.size() < 2) {
    std::cerr << "usage: korimo_run_probe [--check N] [--metric de00] [--hover SHEET] "
                 "[--shot FILE] REFERENCE PATH...\n";
    return 2;
  }
  korimo::bench::QuietPlatform platform;
  korimo::bench::QuietDialogs dialogs;
  korimo::Form1 window(platform, dialogs);
  window.Form_LoadCommandLine(args.takeFirst().toStdString());
  window.show();
  window.TabStrip1().setCurrentIndex(korimo::kRunPageTab);
  if (check > 0) {
    window.verificationPage().setChoice->setCurrentIndex(check);
    emit window.verificationPage().setChoice->activated(check);
  }
  if (de00)
    window.chartPage().Opt_de[1]->setChecked(true);
  korimo::RunPage& page = window.runPage();
  QElapsedTimer clock;
  QTimer::singleShot(500, &window, [&] {
    app.measuring = true;
    clock.start();
    Drop(page, args);
  });
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, &window, [&] {
    if (!app.measuring || page.Session().Busy())
      return;
    app.measuring = false;
    poll.stop();
    std::printf("%zu sheets in %.0f ms; longest event %.1f ms (type %d to %s); peak %ld kB\n",
                page.Session().Rows().size(), static_cast<double>(clock.elapsed()),
                static_cast<double>(app.longestNs) / 1e6, app.longestType,
                app.longestReceiver.c_str(), StatusKb("VmHWM"));
    {
      const struct mallinfo2 m = mallinfo2();
      std::printf("  heap in use %zu kB of %zu kB, mmapped %zu kB\n", m.uordblks / 1024,
                  m.arena / 1024, m.hblkhd / 1024);
      std::ifstream maps("/proc/self/smaps");
      std::string line, name;
      long heap = 0, anon = 0;
      while (std::getline(maps, line)) {
        if (line.find('-') < 16 && line.find(' ') < 40) {
          name = line.size() > 73 ? line.substr(73) : "";
          continue;
        }
        if (line.rfind("Rss:", 0) == 0) {
          const long kb = std::stol(line.substr(4));
          if (name.find("[heap]") != std::string::npos)
            heap += kb;
          else if (name.find_first_not_of(' ') == std::string::npos)
            anon += kb;
        }
      }
      std::printf("  rss heap %ld kB, anonymous %ld kB\n", heap, anon);
    }
    for (const auto& [painted, ns] : app.longestPaintNs) {
      if (ns > 1'000'000)
        std::printf("  paint of %s: up to %.1f ms\n", painted.c_str(),
                    static_cast<double>(ns) / 1e6);
    }
    if (shot.isEmpty()) {
      QApplication::quit();
      return;
    }
    if (hover >= 0) {
      page.SelectSheet(static_cast<std::size_t>(hover));
      const QRect plot = page.trend->PlotRect();
      const korimo::TrendLayout layout = page.trend->Layout();
      const QPoint at(plot.left() + static_cast<int>(layout.X(hover)), plot.center().y());
      QCursor::setPos(page.trend->mapToGlobal(at));
    }
    QTimer::singleShot(1500, &window, [&] {
      QApplication::primaryScreen()->grabWindow(0).save(shot);
      QApplication::quit();
    });
  });
  poll.start();
  return QApplication::exec();
}
