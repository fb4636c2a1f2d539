#pragma once

#include <QObject>

#include <memory>

#include "app/RunSession.h"

namespace korimo {

// The window's run, computed off the window's thread: the run session and
// its computing threads, whose results come back to the window's thread as
// queued calls and are announced there by `changed`.
class RunWorker : public QObject {
  Q_OBJECT

 public:
  explicit RunWorker(QObject* parent = nullptr);
  // The session, and with it every computing thread, goes before the queued
  // calls that would reach it are dropped with the worker.
  ~RunWorker() override;

  RunSession& Session() { return *session_; }
  const RunSession& Session() const { return *session_; }

 signals:
  void changed(const korimo::RunChange& change);

 private:
  std::unique_ptr<RunSession> session_;
};

}  // namespace korimo
