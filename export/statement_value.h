// Guards the values spliced into statements: only a plain number may be
// spliced, so no text from the window or the database can change a statement.
#pragma once

#include <string>
#include <string_view>

namespace marksend {

// True for an optional "-", digits, and optionally "." and more digits.
bool IsPlainNumber(std::string_view text);

// Returns text when it is a plain number; otherwise throws Error naming what
// the value is and the value itself.
const std::string& RequirePlainNumber(const std::string& text, std::string_view what);

}  // namespace marksend
