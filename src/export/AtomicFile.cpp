#include "export/AtomicFile.h"

#include <QSaveFile>
#include <QString>

namespace korimo {

namespace {

WriteOutcome Failure(const QSaveFile& file) {
  const QString reason = file.errorString();
  return {reason.isEmpty() ? std::string("unknown write error") : reason.toStdString()};
}

}  // namespace

WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
  QSaveFile file(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
  if (!file.open(QIODevice::WriteOnly))
    return Failure(file);
  const auto size = static_cast<qint64>(bytes.size());
  // A small text only reaches the disk when the buffer is flushed, and
  // commit() renames over the old file even when that flush failed.
  if (file.write(bytes.data(), size) != size || !file.flush()) {
    WriteOutcome outcome = Failure(file);
    file.cancelWriting();
    return outcome;
  }
  if (!file.commit())
    return Failure(file);
  return {};
}

}  // namespace korimo
