// UTF-8 <-> UTF-16, for the wide-character ODBC calls. Pure functions;
// thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend::db {

// Ill-formed UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace marksend::db
