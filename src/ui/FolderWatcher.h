#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class QFileSystemWatcher;
class QTimer;

namespace korimo {

// A file is taken once its size and modification time have stayed the same
// this long: the instrument's software has finished writing it.
inline constexpr std::chrono::milliseconds kSheetSettleTime{1000};

// Watches a folder for files that are new or changed, and hands each over
// once it is complete, so that a file still being written is never read
// half. The files already in the folder count as new; a file changed after
// it was handed over is handed over again.
class FolderWatcher : public QObject {
  Q_OBJECT

 public:
  explicit FolderWatcher(QObject* parent = nullptr);

  void Watch(const QString& folder);
  void Stop();
  bool Watching() const { return !folder_.isEmpty(); }
  const QString& Folder() const { return folder_; }
  // A file the window wrote into the folder is never handed over.
  void Ignore(const QString& path);

 signals:
  void filesComplete(const QStringList& paths);

 private:
  struct Stamp {
    qint64 size = 0;
    qint64 modified = 0;  // ms since 1970
    bool operator==(const Stamp&) const = default;
  };
  struct Pending {
    Stamp stamp;
    qint64 since = 0;  // when it was last seen to change, on clock_
  };

  static std::optional<Stamp> StampOf(const QString& path);
  void Scan();
  void Note(const QString& path);
  void Check();

  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* timer_ = nullptr;
  QElapsedTimer clock_;
  QString folder_;
  QHash<QString, Stamp> taken_;
  QHash<QString, Pending> pending_;
  QSet<QString> ignored_;
};

}  // namespace korimo
