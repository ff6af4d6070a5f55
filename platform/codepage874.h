// Conversion between UTF-8 text and the Thai 8-bit code page 874, with the
// exact Windows mapping. Pure functions; thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend::cp874 {

// Encodes UTF-8 text as code page 874 bytes; a character the code page lacks
// becomes '?' (no best-fit). Invalid UTF-8 sequences also become '?'.
std::string FromUtf8(std::string_view utf8);

// Decodes code page 874 bytes to UTF-8; a byte the code page leaves
// undefined decodes to '?'.
std::string ToUtf8(std::string_view bytes);

// Passes UTF-8 text through the 8-bit code page and back.
std::string RoundTrip(std::string_view utf8);

}  // namespace marksend::cp874
