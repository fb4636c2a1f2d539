#pragma once

#include <QFont>

namespace korimo {

// The window's fonts. Where the Windows Japanese fonts are missing, Noto Sans
// Mono CJK JP and Noto Sans CJK JP stand in: at 9 pt their full stop is a
// clear dot and their digits read apart, where IPA Gothic's full stop looks
// like a comma and VL Gothic's slashed zero like an eight.
QFont WindowFont();      // fixed pitch, 9 pt: figures, the grid, percentages
QFont UiFont();          // proportional, 9 pt
QFont PathFont();        // UiFont() at 8.25 pt, for the path labels
QFont HelpButtonFont();  // bold 11.25 pt, for the "?" button

}  // namespace korimo
