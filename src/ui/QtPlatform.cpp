#include "ui/QtPlatform.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

#include "ui/RasterImage.h"

namespace korimo {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

// Writes all of `bytes` to an opened file and flushes them; false on failure.
bool WriteAll(QFileDevice& file, std::string_view bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  return file.write(bytes.data(), size) == size && file.flush();
}

// A device or a pipe (/dev/null, /dev/stdout) is written as it is: a file
// renamed over it would replace the device itself.
bool IsDeviceOrPipe(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isFile() && !info.isDir();
}

WriteOutcome WriteInPlace(const QString& path, std::string_view bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return {ToUtf8(file.errorString())};
  if (!WriteAll(file, bytes))
    return {ToUtf8(file.errorString())};
  return {};
}

}  // namespace

QtPlatform::QtPlatform(QWidget* window) : window_(window) {}

std::optional<std::string> QtPlatform::SaveFileDialog(std::string_view filter) {
  // The static dialog asks before an existing file is overwritten.
  const QString path =
      QFileDialog::getSaveFileName(window_, QString(), lastSaved_, QtFileFilter(filter));
  if (path.isEmpty())
    return std::nullopt;
  lastSaved_ = path;
  return ToUtf8(path);
}

void QtPlatform::ShowMessage(std::string_view text) {
  QString message = FromUtf8(text);
  message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(QMessageBox::NoIcon, Caption(), message, QMessageBox::Ok, window_);
  box.exec();
}

void QtPlatform::ClipboardClear() {
  QGuiApplication::clipboard()->clear();
}

void QtPlatform::ClipboardSetText(std::string_view text) {
  QGuiApplication::clipboard()->setText(FromUtf8(text));
}

void QtPlatform::ClipboardSetBitmap(const Raster& picture) {
  QGuiApplication::clipboard()->setImage(RasterCopy(picture));
}

void QtPlatform::ClipboardSetBitmapAndText(const Raster& picture, std::string_view text) {
  auto data = std::make_unique<QMimeData>();
  data->setImageData(RasterCopy(picture));
  data->setText(FromUtf8(text));
  QGuiApplication::clipboard()->setMimeData(data.release());
}

// The new content goes to a temporary file beside the target, flushed and
// synced before it is renamed over it, so an existing file is replaced only
// once the new one is complete; on failure nothing of it remains.
WriteOutcome QtPlatform::WriteFile(const std::string& path, std::string_view bytes) {
  const QString name = FromUtf8(path);
  if (IsDeviceOrPipe(name))
    return WriteInPlace(name, bytes);
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly))
    return {ToUtf8(file.errorString())};
  if (!WriteAll(file, bytes)) {
    const std::string reason = ToUtf8(file.errorString());
    file.cancelWriting();
    return {reason};
  }
  if (!file.commit())
    return {ToUtf8(file.errorString())};
  return {};
}

WriteOutcome QtPlatform::SaveBitmap(const Raster& picture, const std::string& path) {
  const QImage image = RasterCopy(picture);
  if (image.isNull())
    return {"the picture is empty"};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP"))
    return {"the picture cannot be encoded as BMP"};
  return WriteFile(path,
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void QtPlatform::OpenDocument(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromUtf8(path)));
}

std::string QtPlatform::ProgramFolder() const {
  return ToUtf8(QCoreApplication::applicationDirPath());
}

QString QtPlatform::QtFileFilter(std::string_view filter) {
  const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    // Qt takes the patterns from the parentheses at the end of an entry.
    const QString ending = QLatin1Char('(') + pattern + QLatin1Char(')');
    entries.append(description.endsWith(ending) ? description
                                                : description + QLatin1Char(' ') + ending);
  }
  return entries.join(QLatin1String(";;"));
}

QString QtPlatform::Caption() const {
  if (window_ != nullptr)
    return window_->window()->windowTitle();
  return QGuiApplication::applicationDisplayName();
}

}  // namespace korimo
