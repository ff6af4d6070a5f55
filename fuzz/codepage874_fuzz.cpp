// Fuzzes the code page 874 conversions. Properties: decoding gives
// well-formed UTF-8; decoding then encoding gives every mapped byte back and
// "?" for each byte the code page leaves undefined; encoding any text and
// passing it through once more changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/codepage874.h"
#include "platform/utf8.h"

namespace {

using marksend::fuzz::Check;
namespace cp874 = marksend::cp874;

bool Mapped(unsigned char b) { return b < 0x80 || cp874::ToUtf8(std::string(1, static_cast<char>(b))) != "?"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The input as code page 874 bytes.
  const std::string text = cp874::ToUtf8(bytes);
  Check(marksend::utf8::IsValid(text), "decoded text is well-formed UTF-8", bytes);
  std::string expected(bytes);
  for (char& c : expected)
    if (!Mapped(static_cast<unsigned char>(c))) c = '?';
  Check(cp874::FromUtf8(text) == expected, "FromUtf8(ToUtf8(x)) == x for mapped bytes", bytes);

  // The input as UTF-8 text (well-formed or not).
  const std::string encoded = cp874::FromUtf8(bytes);
  Check(encoded.size() <= bytes.size(), "encoding never lengthens the text", bytes);
  const std::string once = cp874::RoundTrip(bytes);
  Check(marksend::utf8::IsValid(once), "a round trip gives well-formed UTF-8", bytes);
  Check(cp874::RoundTrip(once) == once, "a second round trip changes nothing", bytes);
  Check(cp874::FromUtf8(once) == encoded, "the round trip keeps the encoded bytes", bytes);
  return 0;
}
