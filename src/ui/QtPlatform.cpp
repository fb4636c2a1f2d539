#include "ui/QtPlatform.h"

#include <QAction>
#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

#include "app/Version.h"
#include "export/AtomicFile.h"
#include "ui/BitmapConvert.h"

namespace korimo {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty())
    return std::nullopt;
  return ToUtf8(path);
}

}  // namespace

QtPlatform::QtPlatform(QWidget* window) : window_(window) {}

std::optional<std::string> QtPlatform::OpenFileDialog(int set) {
  if (set < 0 || set >= static_cast<int>(lastOpened_.size()))
    return std::nullopt;
  QString& last = lastOpened_[static_cast<std::size_t>(set)];
  const QString path = QFileDialog::getOpenFileName(window_, QString(), last);
  if (!path.isEmpty())
    last = path;
  return Chosen(path);
}

std::optional<std::string> QtPlatform::SaveFileDialog(std::string_view filter) {
  // The static dialog asks before an existing file is overwritten.
  const QString path =
      QFileDialog::getSaveFileName(window_, QString(), lastSaved_, QtFileFilter(filter));
  if (!path.isEmpty())
    lastSaved_ = path;
  return Chosen(path);
}

void QtPlatform::ShowMessage(std::string_view text) {
  QString message = FromUtf8(text);
  message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(QMessageBox::NoIcon, Caption(), message, QMessageBox::Ok, window_);
  box.exec();
}

std::optional<int> QtPlatform::PopupEditMenu(bool itemsEnabled) {
  QMenu menu(window_);
  menu.setTitle(QStringLiteral("編集(&E)"));
  QAction* copy = menu.addAction(QStringLiteral("コピー"));
  QAction* save = menu.addAction(QStringLiteral("保  存"));
  copy->setEnabled(itemsEnabled);
  save->setEnabled(itemsEnabled);
  const QAction* chosen = menu.exec(QCursor::pos());
  if (chosen == copy)
    return 0;
  if (chosen == save)
    return 1;
  return std::nullopt;
}

void QtPlatform::ClipboardClear() {
  QGuiApplication::clipboard()->clear();
}

void QtPlatform::ClipboardSetText(std::string_view text) {
  QGuiApplication::clipboard()->setText(FromUtf8(text));
}

void QtPlatform::ClipboardSetBitmap(const Bitmap& bitmap) {
  QGuiApplication::clipboard()->setImage(ToQImage(bitmap));
}

void QtPlatform::ClipboardSetBitmapAndText(const Bitmap& bitmap, std::string_view text) {
  auto data = std::make_unique<QMimeData>();
  data->setImageData(ToQImage(bitmap));
  data->setText(FromUtf8(text));
  QGuiApplication::clipboard()->setMimeData(data.release());
}

WriteOutcome QtPlatform::WriteFile(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes);
}

WriteOutcome QtPlatform::SaveBitmap(const Bitmap& bitmap, const std::string& path) {
  const QImage image = ToQImage(bitmap);
  if (image.isNull())
    return {"the picture is empty"};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP"))
    return {"the picture cannot be encoded as BMP"};
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void QtPlatform::OpenDocument(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromUtf8(path)));
}

std::string QtPlatform::ProgramFolder() const {
  return ToUtf8(QCoreApplication::applicationDirPath());
}

ProgramVersion QtPlatform::Version() const {
  return {kVersionMajor, kVersionMinor, kVersionPatch};
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
