// Small UTF-8 helpers shared by the text conversions of the platform layer.
// Pure functions; thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace marksend::utf8 {

// Decodes the character at text[pos] into cp and advances pos past it. An
// ill-formed sequence (overlong, surrogate, above U+10FFFF, cut short)
// returns false and advances pos past its longest well-formed prefix, at
// least one byte, so that each bad sequence counts once. pos < text.size().
bool Next(std::string_view text, std::size_t& pos, char32_t& cp);

// True when the whole text is well-formed UTF-8.
bool IsValid(std::string_view text);

// Appends the UTF-8 form of cp (a Unicode scalar value) to out.
void Append(std::string& out, char32_t cp);

// The byte length of the first count characters of well-formed text (the
// whole text when it holds fewer).
std::size_t PrefixBytes(std::string_view text, std::size_t count);

}  // namespace marksend::utf8
