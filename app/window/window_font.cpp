#include "app/window/window_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace marksend {

QString WindowFontFamily() {
  // Garuda's Thai is as wide as Tahoma's, so the captions fit the controls'
  // widths; the others are further Thai faces of the TLWG set.
  static const char* const kPreferred[] = {"Tahoma", "Garuda", "Loma", "Tlwg Typo", "Waree", "Leelawadee UI"};
  const QStringList installed = QFontDatabase::families();
  for (const char* family : kPreferred)
    if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) return QString::fromLatin1(family);
  const QStringList thai = QFontDatabase::families(QFontDatabase::Thai);
  return thai.isEmpty() ? QFont().family() : thai.constFirst();
}

QFont WindowFont(int pixelSize) {
  QFont font(WindowFontFamily());
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace marksend
