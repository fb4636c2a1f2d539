#include "ui/KorimoApplication.h"

#include <exception>
#include <new>

namespace korimo {

namespace {

constexpr char kOutOfMemory[] = "メモリが足りないため、処理を中止しました。";
constexpr char kFailed[] = "処理を中止しました。\r\n";

}  // namespace

KorimoApplication::KorimoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KorimoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    Fail(kOutOfMemory);
  } catch (const std::exception& e) {
    Fail(kFailed + std::string(e.what()));
  }
  return false;
}

void KorimoApplication::Fail(const std::string& message) {
  if (onFailure)
    onFailure(message);
}

}  // namespace korimo
