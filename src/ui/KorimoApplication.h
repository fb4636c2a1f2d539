#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace korimo {

// The application object of the window. An exception that leaves an event
// handler (memory running out while a file is read) would end the event
// loop and the program with it; a catch in main comes too late to keep the
// window. It is caught where Qt delivers the event and handed to
// `onFailure` with a message for the user; the window goes on.
class KorimoApplication : public QApplication {
  Q_OBJECT

 public:
  KorimoApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  std::function<void(const std::string& message)> onFailure;

 private:
  void Fail(const std::string& message);
};

}  // namespace korimo
