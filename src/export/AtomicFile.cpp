#include "export/AtomicFile.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <filesystem>
#include <system_error>

namespace korimo {

namespace {

WriteOutcome Failure(const QFileDevice& file) {
  const QString reason = file.errorString();
  return {reason.isEmpty() ? std::string("unknown write error") : reason.toStdString()};
}

// Renaming a temporary file over /dev/null or a pipe would replace the device
// itself; those are written in place.
bool IsDeviceOrPipe(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);  // follows links
  return !ec && (std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status) ||
                 std::filesystem::is_block_file(status) || std::filesystem::is_socket(status));
}

WriteOutcome WriteInPlace(const QString& path, std::string_view bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return Failure(file);
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size)
    return Failure(file);
  return {};
}

}  // namespace

WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const QString name = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  if (IsDeviceOrPipe(path))
    return WriteInPlace(name, bytes);
  QSaveFile file(name);
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
