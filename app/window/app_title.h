// Fixed texts of the program's start-up: the application title (the caption
// of every message box) and the main window's caption. Constant data.
#pragma once

namespace marksend {

inline constexpr char kApplicationTitle[] = "TEV Marksend Site";
inline constexpr char kWindowCaption[] = "Marksend v.2.2  2023-07-23";

}  // namespace marksend
