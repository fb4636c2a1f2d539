#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include "ui/Fonts.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
  // Pixels are read back and the clipboard is used in-process; both need the
  // offscreen platform, also when ctest only lists the tests.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // As the program starts.
  korimo::InstallJapaneseQtTexts(app);
  QApplication::setFont(korimo::UiFont());
  return RUN_ALL_TESTS();
}
