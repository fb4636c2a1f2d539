#include "ui/RunWorker.h"

#include <QMetaObject>

#include <algorithm>
#include <thread>
#include <utility>

namespace korimo {

namespace {

// One core is left to the window, so that it answers while a run is read.
int ComputingThreads() {
  return static_cast<int>(std::max(2U, std::thread::hardware_concurrency()) - 1);
}

}  // namespace

RunWorker::RunWorker(QObject* parent) : QObject(parent) {
  RunSession::Hooks hooks;
  hooks.post = [this](std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
  };
  hooks.changed = [this](const RunChange& change) { emit changed(change); };
  hooks.threads = ComputingThreads();
  session_ = std::make_unique<RunSession>(std::move(hooks));
}

RunWorker::~RunWorker() {
  session_.reset();
}

}  // namespace korimo
