#pragma once

#include <QFont>

namespace korimo {

// The window's fonts. Where the Windows Japanese fonts are missing, the IPA
// fonts stand in, then any installed font that covers Japanese.
QFont WindowFont();      // the window's font, 9 pt (fixed pitch where installed)
QFont FixedFont();       // fixed pitch, 9 pt, for narrow texts without a full stop
QFont UiFont();          // proportional, 9 pt
QFont PathFont();        // UiFont() at 8.25 pt, for the path labels
QFont HelpButtonFont();  // bold 11.25 pt, for the "?" button

}  // namespace korimo
