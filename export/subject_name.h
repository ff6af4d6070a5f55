// The cleaning of subject names for the catalogue: through code page 874, the
// first "&" becomes "และ", the first "/" becomes "หรือ", and every character
// below "0" is removed. Pure; thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend {

std::string CleanSubjectName(std::string_view name);

}  // namespace marksend
