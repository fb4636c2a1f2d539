#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "ui/BitmapConvert.h"
#include "ui/QtPlatform.h"

namespace korimo {
namespace {

const Bitmap kTwoPixels{2, 1, {0x0000FF, 0x804020}};

// Runs `act` on the modal dialog or menu that the next call opens, once it
// is up, and closes it if `act` did not, so that a failing test cannot hang.
void WhenOpened(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    QWidget* widget = QApplication::activePopupWidget();
    if (widget == nullptr)
      widget = QApplication::activeModalWidget();
    if (widget == nullptr || !widget->isVisible())
      return;
    poll->deleteLater();
    poll->stop();
    act(widget);
    if (widget->isVisible())
      widget->close();
  });
  poll->start(10);
}

TEST(QtPlatformTest, ClipboardHoldsBitmapAndTextTogether) {
  EXPECT_EQ(FromQImage(ToQImage(kTwoPixels)).pixels, kTwoPixels.pixels);
  EXPECT_TRUE(ToQImage(Bitmap{2, 2, {1, 2, 3}}).isNull());
  QtPlatform platform(nullptr);
  const QClipboard* clipboard = QGuiApplication::clipboard();
  platform.ClipboardSetBitmapAndText(kTwoPixels, "ΔE\tパッチ数\r\n");
  ASSERT_NE(clipboard->mimeData(), nullptr);
  EXPECT_TRUE(clipboard->mimeData()->hasImage());
  EXPECT_EQ(clipboard->image().pixel(0, 0), qRgb(255, 0, 0));  // red in the low byte
  EXPECT_EQ(clipboard->image().pixel(1, 0), qRgb(0x20, 0x40, 0x80));
  EXPECT_EQ(clipboard->text(), QStringLiteral("ΔE\tパッチ数\r\n"));
  platform.ClipboardClear();
  EXPECT_TRUE(clipboard->text().isEmpty());
}

TEST(QtPlatformTest, FiltersVersionsAndFiles) {
  EXPECT_EQ(QtPlatform::QtFileFilter("テキスト(*.txt)|*.txt"), QStringLiteral("テキスト(*.txt)"));
  EXPECT_EQ(QtPlatform::QtFileFilter("All|*.*|Text|*.txt"),
            QStringLiteral("All (*.*);;Text (*.txt)"));
  EXPECT_EQ(QtPlatform(nullptr, ProgramVersion{4, 0, 1}).Version().revision, 1);
  EXPECT_EQ(QtPlatform::ParseVersion(QStringLiteral("1.2")).minor, 2);
  EXPECT_EQ(QString::fromStdString(QtPlatform(nullptr).ProgramFolder()),
            QCoreApplication::applicationDirPath());

  QTemporaryDir dir;
  QtPlatform platform(nullptr);
  const std::string path = dir.filePath(QStringLiteral("h-ΔE.bmp")).toStdString();
  ASSERT_TRUE(platform.SaveBitmap(kTwoPixels, path).ok());
  EXPECT_EQ(FromQImage(QImage(QString::fromStdString(path))).pixels, kTwoPixels.pixels);
  EXPECT_FALSE(platform.SaveBitmap(kTwoPixels, path + "/sub.bmp").ok());
}

TEST(QtPlatformTest, MessageHasOneOkButtonAndTheWindowCaption) {
  QWidget window;
  window.setWindowTitle(QStringLiteral("⊿E､⊿E00計算　(Ver.1.00)"));
  QtPlatform platform(&window);
  QString title, text;
  qsizetype buttons = 0;
  WhenOpened([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    buttons = box->buttons().size();
    box->button(QMessageBox::Ok)->click();
  });
  platform.ShowMessage("見出し\r\n\r\nコピーしました");
  EXPECT_EQ(title, window.windowTitle());
  EXPECT_EQ(text, QStringLiteral("見出し\n\nコピーしました"));
  EXPECT_EQ(buttons, 1);
}

TEST(QtPlatformTest, EditMenuReportsTheChosenItem) {
  QtPlatform platform(nullptr);
  const auto chooseSecond = [](QWidget* menu) {
    ASSERT_NE(qobject_cast<QMenu*>(menu), nullptr);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  };
  WhenOpened(chooseSecond);
  EXPECT_EQ(platform.PopupEditMenu(true), 1);
  WhenOpened(chooseSecond);
  EXPECT_EQ(platform.PopupEditMenu(false), std::nullopt);
}

TEST(QtPlatformTest, OpenDialogsRememberTheirOwnFileAndCancelIsNoChoice) {
  QTemporaryDir dir;
  const QString chosen = dir.filePath(QStringLiteral("ref.txt"));
  ASSERT_TRUE(QFile(chosen).open(QIODevice::WriteOnly));  // open dialogs want a file
  QtPlatform platform(nullptr);
  WhenOpened([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(chosen);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides accept()
  });
  EXPECT_EQ(platform.OpenFileDialog(1), chosen.toStdString());

  QStringList offered;
  const auto noteOfferAndCancel = [&offered](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    offered = dialog->selectedFiles();
    dialog->reject();
  };
  WhenOpened(noteOfferAndCancel);
  EXPECT_EQ(platform.OpenFileDialog(1), std::nullopt);
  EXPECT_EQ(offered, QStringList{chosen});
  WhenOpened(noteOfferAndCancel);
  EXPECT_EQ(platform.OpenFileDialog(0), std::nullopt);
  EXPECT_FALSE(offered.contains(chosen));
}

}  // namespace
}  // namespace korimo
