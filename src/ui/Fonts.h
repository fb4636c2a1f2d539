#pragma once

#include <QFont>

namespace korimo {

// The window's fonts. Where the Windows Japanese fonts are missing, VL Gothic
// and VL PGothic stand in: at 9 pt their full stop is a clear dot and their
// zero is slashed, where IPA Gothic's full stop looks like a comma; and their
// lines are as high as the layout's labels, where Noto Sans CJK's are a third
// higher and lose the lower part of every figure.
QFont WindowFont();      // fixed pitch, 9 pt: figures, the grid, percentages
QFont UiFont();          // proportional, 9 pt
QFont PathFont();        // UiFont() at 8.25 pt, for the path labels
QFont HelpButtonFont();  // bold 11.25 pt, for the "?" button

}  // namespace korimo
