// The window's typeface: Tahoma where it is installed, else a font that
// carries Thai. Thread rule: the window's thread only (reads the font database).
#pragma once

#include <QFont>

namespace marksend {

// The family name to use for every control of the window.
QString WindowFontFamily();

// That family at the given height in pixels.
QFont WindowFont(int pixelSize);

}  // namespace marksend
