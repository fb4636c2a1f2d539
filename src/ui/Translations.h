#pragma once

class QCoreApplication;

namespace korimo {

// Installs Qt's own Japanese texts: the file dialogs, the buttons of message
// boxes, the text boxes' context menu and the reasons of failed file
// operations. The window speaks Japanese whatever the system's language, so
// they are loaded regardless of the locale. False when the translation is
// not installed; Qt's English texts remain then.
bool InstallJapaneseQtTexts(QCoreApplication& app);

}  // namespace korimo
