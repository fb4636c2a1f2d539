#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <initializer_list>

namespace korimo {

namespace {

QString PickFamily(std::initializer_list<const char*> preferred, bool fixedPitch) {
  const QStringList installed = QFontDatabase::families();
  for (const char* name : preferred) {
    const QString family = QString::fromUtf8(name);
    if (installed.contains(family, Qt::CaseInsensitive))
      return family;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const QString& family : japanese) {
    if (QFontDatabase::isFixedPitch(family) == fixedPitch)
      return family;
  }
  if (!japanese.isEmpty())
    return japanese.first();
  return QFontDatabase::systemFont(fixedPitch ? QFontDatabase::FixedFont
                                              : QFontDatabase::GeneralFont)
      .family();
}

QFont MakeFont(const QString& family, double pointSize) {
  QFont font(family);
  font.setPointSizeF(pointSize);
  return font;
}

}  // namespace

QFont WindowFont() {
  return MakeFont(
      PickFamily({"ＭＳ ゴシック", "MS Gothic", "VL Gothic", "Noto Sans Mono CJK JP", "IPAGothic"},
                 true),
      9.0);
}

QFont UiFont() {
  return MakeFont(
      PickFamily({"ＭＳ Ｐゴシック", "MS PGothic", "VL PGothic", "Noto Sans CJK JP", "IPAPGothic"},
                 false),
      9.0);
}

QFont PathFont() {
  QFont font = UiFont();
  font.setPointSizeF(8.25);
  return font;
}

QFont HelpButtonFont() {
  QFont font = UiFont();
  font.setPointSizeF(11.25);
  font.setBold(true);
  return font;
}

}  // namespace korimo
