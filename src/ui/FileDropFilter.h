#pragma once

#include <QObject>
#include <QStringList>

#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace korimo {

// Lets any widget take file lists dropped from the file manager. Drags that
// carry no local file are refused, so dragged text never reaches a handler.
class FileDropFilter : public QObject {
  Q_OBJECT

 public:
  // Installs itself on `target`, which also becomes its parent.
  explicit FileDropFilter(QWidget* target);

  // Local paths of a uri-list in their dropped order; other URLs are skipped.
  static QStringList LocalFiles(const QMimeData* data);

 signals:
  void filesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Dropped or chosen paths as the engine takes them (UTF-8).
std::vector<std::string> ToPaths(const QStringList& list);

}  // namespace korimo
