#include "platform/ini_file.h"

#include <cstddef>
#include <fstream>
#include <string_view>

#include "platform/codepage874.h"
#include "platform/utf8.h"

namespace marksend {
namespace {

// The longest value the profile reader hands back, in characters.
constexpr std::size_t kMaxValueChars = 2047;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII letters fold; every other byte (Thai included) must match exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  const std::size_t end = bytes.size() & ~std::size_t{1};  // a trailing odd byte is no character
  for (std::size_t i = 0; i < end; i += 2) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 2 < end) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        utf8::Append(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;  // unpaired surrogate
    utf8::Append(out, u);
  }
  return out;
}

// Well-formed UTF-8 as it is; each ill-formed sequence becomes '?'.
std::string CleanUtf8(std::string_view bytes) {
  if (utf8::IsValid(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size());
  std::size_t pos = 0;
  char32_t cp;
  while (pos < bytes.size()) {
    if (utf8::Next(bytes, pos, cp)) utf8::Append(out, cp);
    else out += '?';
  }
  return out;
}

// The file's text as UTF-8, whatever form it was saved in. Without a
// byte-order mark, text that is well-formed UTF-8 is taken as such (pure
// ASCII reads the same either way), anything else as code page 874.
std::string DecodeFile(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return CleanUtf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), true);
  if (utf8::IsValid(bytes)) return std::string(bytes);
  return cp874::ToUtf8(bytes);
}

std::string ValueOf(std::string_view v) {
  v = Trim(v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, utf8::PrefixBytes(v, kMaxValueChars)));
}

}  // namespace

IniFile::IniFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  // istream::read turns a read error (a folder, say) into badbit; the file
  // then counts as empty like a missing one.
  std::string raw;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) raw.append(buffer, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return;
  const std::string text = DecodeFile(raw);

  // Lines before the first header belong to no section; a header that
  // repeats an earlier name collects nothing, since only the first section
  // of a name is searched.
  Section* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;

    const std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
      const std::string_view name = Trim(line.substr(1, close - 1));
      current = nullptr;
      if (FindSection(name) == nullptr) current = &sections_.emplace_back(Section{std::string(name), {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || current == nullptr) continue;
    current->entries.push_back({std::string(Trim(line.substr(0, eq))), ValueOf(line.substr(eq + 1))});
  }
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (const auto& s : sections_)
    if (SameName(s.name, name)) return &s;
  return nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  if (const Section* s = FindSection(section))
    for (const auto& e : s->entries)
      if (SameName(e.key, key)) return e.value;
  return def;
}

}  // namespace marksend
