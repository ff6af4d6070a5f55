// Fuzzes the "+" rewrite of the SQLite provider. Properties: any text is
// rewritten without a fault; a statement without "+" comes back unchanged;
// so does one whose every "+" sits inside a string literal, a quoted name or
// a comment, with fuzzed text around it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/db/plus_rewrite.h"

namespace {

using marksend::fuzz::Check;
using marksend::db::RewritePlus;

void ExpectUnchanged(const std::string& sql, const char* property) {
  Check(RewritePlus(sql) == sql, property, sql);
}

std::string Without(std::string text, std::string_view drop) {
  std::erase_if(text, [&](char c) { return drop.find(c) != std::string_view::npos; });
  return text;
}

std::string Doubled(std::string_view text, char quote) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == quote) out += c;
  }
  return out;
}

// Breaks every "*/" so that the text stays inside a block comment.
std::string InComment(std::string text) {
  for (std::size_t at; (at = text.find("*/")) != std::string::npos;) text[at + 1] = ' ';
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int kind = input.ConsumeIntegralInRange(0, 5);
  // Text around the quoted part: nothing that opens a literal, a name or a
  // comment (which could swallow the closing mark) and no "+".
  const std::string before = Without(input.ConsumeRandomLengthString(64), "+'\"`[-/");
  const std::string inside = input.ConsumeRandomLengthString(64);
  const std::string after = Without(input.ConsumeRandomLengthString(64), "+'\"`[-/");
  const std::string raw = input.ConsumeRemainingBytesAsString();

  (void)RewritePlus(raw);  // anything goes in; ASan and UBSan watch
  if (raw.find('+') == std::string::npos) ExpectUnchanged(raw, "a statement without + is unchanged");
  ExpectUnchanged(before + after, "a statement without + is unchanged");

  std::string quoted;
  switch (kind) {
    case 0: quoted = "'" + Doubled(inside, '\'') + "'"; break;
    case 1: quoted = "\"" + Doubled(inside, '"') + "\""; break;
    case 2: quoted = "`" + Doubled(inside, '`') + "`"; break;
    case 3: quoted = "[" + Without(inside, "]") + "]"; break;
    case 4: quoted = "/*" + InComment(inside) + "*/"; break;
    default: quoted = "--" + Without(inside, "\n") + "\n"; break;
  }
  ExpectUnchanged(before + quoted + after, "a + inside a literal, a quoted name or a comment is left alone");
  return 0;
}
