#include "app/window/window_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace marksend {

QString WindowFontFamily() {
  // Loma is drawn after Tahoma; the others are further Thai faces of the TLWG set.
  static const char* const kPreferred[] = {"Tahoma", "Loma", "Tlwg Typo", "Garuda", "Waree", "Leelawadee UI"};
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
