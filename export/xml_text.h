// Makes any UTF-8 value safe as XML 1.0 element content. Pure; thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend {

// Appends value to out with "&", "<" and ">" escaped, CR and LF written as
// character references (so an element stays on its line), and everything XML
// 1.0 cannot carry dropped: other control characters, U+FFFE, U+FFFF,
// surrogates and invalid UTF-8 sequences.
void AppendXmlText(std::string& out, std::string_view value);

std::string XmlText(std::string_view value);

}  // namespace marksend
