#include "ui/FolderWatcher.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace korimo {

namespace {

// Files waiting to settle are looked at this often; the settle time is
// measured from when a file was last seen to change.
constexpr std::chrono::milliseconds kSettleCheck = kSheetSettleTime / 4;

}  // namespace

FolderWatcher::FolderWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), timer_(new QTimer(this)) {
  timer_->setInterval(kSettleCheck);
  clock_.start();
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::Scan);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FolderWatcher::Note);
  connect(timer_, &QTimer::timeout, this, &FolderWatcher::Check);
}

void FolderWatcher::Watch(const QString& folder) {
  Stop();
  folder_ = QDir(folder).absolutePath();
  watcher_->addPath(folder_);
  Scan();
}

void FolderWatcher::Stop() {
  const QStringList watched = watcher_->files() + watcher_->directories();
  if (!watched.isEmpty())
    watcher_->removePaths(watched);
  timer_->stop();
  folder_.clear();
  taken_.clear();
  pending_.clear();
}

void FolderWatcher::Ignore(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  ignored_.insert(absolute);
  pending_.remove(absolute);
}

std::optional<FolderWatcher::Stamp> FolderWatcher::StampOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile())
    return std::nullopt;
  return Stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

// The folder's files, hidden ones (an editor's lock file) aside.
void FolderWatcher::Scan() {
  if (!Watching())
    return;
  const QDir dir(folder_);
  const QStringList names = dir.entryList(QDir::Files, QDir::Name);
  for (const QString& name : names)
    Note(dir.filePath(name));
}

// A file that differs from what was handed over waits to settle.
void FolderWatcher::Note(const QString& path) {
  if (!Watching() || ignored_.contains(path))
    return;
  const std::optional<Stamp> stamp = StampOf(path);
  const auto taken = taken_.constFind(path);
  if (!stamp || (taken != taken_.cend() && *taken == *stamp)) {
    pending_.remove(path);
    return;
  }
  const auto pending = pending_.find(path);
  if (pending == pending_.end() || !(pending->stamp == *stamp))
    pending_.insert(path, {*stamp, clock_.elapsed()});
  if (!timer_->isActive())
    timer_->start();
}

void FolderWatcher::Check() {
  QStringList complete;
  const qint64 now = clock_.elapsed();
  for (auto it = pending_.begin(); it != pending_.end();) {
    const std::optional<Stamp> stamp = StampOf(it.key());
    if (!stamp) {
      it = pending_.erase(it);
    } else if (!(*stamp == it->stamp)) {
      *it = {*stamp, now};
      ++it;
    } else if (now - it->since >= kSheetSettleTime.count()) {
      taken_.insert(it.key(), *stamp);
      complete.append(it.key());
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  if (pending_.isEmpty())
    timer_->stop();
  if (complete.isEmpty())
    return;
  complete.sort();
  // A file replaced by renaming another over it is no longer watched.
  QStringList unwatched;
  const QStringList watched = watcher_->files();
  const QSet<QString> known(watched.begin(), watched.end());
  for (const QString& path : complete) {
    if (!known.contains(path))
      unwatched.append(path);
  }
  if (!unwatched.isEmpty())
    watcher_->addPaths(unwatched);
  emit filesComplete(complete);
}

}  // namespace korimo
