#pragma once

#include <QFont>

namespace korimo {

// The window's fonts. Where the Windows Japanese fonts are missing, the IPA
// fonts stand in, then any installed font that covers Japanese.
QFont WindowFont();      // fixed pitch, 9 pt
QFont UiFont();          // proportional, 9 pt
QFont PathFont();        // UiFont() at 8.25 pt, for the path labels
QFont HelpButtonFont();  // bold 11.25 pt, for the "?" button

}  // namespace korimo
