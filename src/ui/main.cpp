#include <QIcon>
#include <QStringList>

#include "app/Version.h"
#include "ui/Fonts.h"
#include "ui/Form1.h"
#include "ui/KorimoApplication.h"
#include "ui/QtDialogs.h"
#include "ui/QtPlatform.h"
#include "ui/Translations.h"

int main(int argc, char* argv[]) {
  korimo::KorimoApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korimo"));
  QApplication::setApplicationVersion(QString::fromUtf8(korimo::kVersionText.data()));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korimo.png")));
  korimo::InstallJapaneseQtTexts(app);
  // Dialogs and menus take the application's font: a Japanese one.
  QApplication::setFont(korimo::UiFont());

  korimo::QtPlatform platform;
  korimo::QtDialogs dialogs;
  korimo::Form1 window(platform, dialogs);
  platform.SetWindow(&window);
  dialogs.SetWindow(&window);
  app.onFailure = [&window](const std::string& message) { window.RecoverFromFailure(message); };
  // The argument text is the program's arguments joined by single blanks, as
  // the desktop hands a file opened with the program.
  window.Form_LoadCommandLine(QApplication::arguments().mid(1).join(QChar(' ')).toStdString());
  window.show();
  return QApplication::exec();
}
