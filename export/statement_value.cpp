#include "export/statement_value.h"

#include "platform/error.h"

namespace marksend {

bool IsPlainNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const size_t digits = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == digits) return false;
  if (i < text.size() && text[i] == '.') {
    const size_t fraction = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == fraction) return false;
  }
  return i == text.size();
}

const std::string& RequirePlainNumber(const std::string& text, std::string_view what) {
  if (!IsPlainNumber(text)) {
    if (text.empty()) throw Error("The " + std::string(what) + " is empty; a number is needed.");
    throw Error("The " + std::string(what) + " \"" + text + "\" is not a number.");
  }
  return text;
}

}  // namespace marksend
