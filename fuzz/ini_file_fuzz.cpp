// Fuzzes the INI reader on whole files. Properties: reading never throws,
// every value read is well-formed UTF-8 of at most 2047 characters, and a
// key the file lacks gives the default back unchanged.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/ini_file.h"
#include "platform/utf8.h"

namespace {

using marksend::fuzz::Check;

// The file lives in memory; the reader opens it by its /proc name, as it
// would any other path.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : fd_(memfd_create("ini", MFD_CLOEXEC)) {
    Check(fd_ >= 0, "memfd_create works");
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
      Check(n > 0, "the memory file takes the input");
      done += static_cast<std::size_t>(n);
    }
  }
  ~MemoryFile() { close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// Section and key names as the input spells them (raw lines), plus the ones
// the program reads, so lookups hit as well as miss.
std::vector<std::pair<std::string, std::string>> Lookups(std::string_view bytes) {
  std::vector<std::pair<std::string, std::string>> found{
      {"Database", "Provider"}, {"MSAccess", "Database File"}, {"MSSQL", "Database Server"}, {"mssql", "driver"}};
  std::string section;
  std::size_t start = 0;
  while (start < bytes.size() && found.size() < 64) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    const std::size_t close = line.rfind(']');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      section = std::string(line.substr(1, close - 1));
    } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
      found.emplace_back(section, std::string(line.substr(0, eq)));
    }
  }
  return found;
}

std::size_t Characters(std::string_view text) {
  std::size_t count = 0, pos = 0;
  char32_t cp;
  while (pos < text.size()) {
    marksend::utf8::Next(text, pos, cp);
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const MemoryFile file(bytes);
  // Ill-formed UTF-8 on purpose: no value read from a file can equal it.
  const std::string absent = "\xFF absent \xFF";
  try {
    const marksend::IniFile ini(file.path());
    for (const auto& [section, key] : Lookups(bytes)) {
      const std::string value = ini.ReadString(section, key, absent);
      if (value == absent) continue;
      Check(marksend::utf8::IsValid(value), "a value is well-formed UTF-8", value);
      Check(Characters(value) <= 2047, "a value holds at most 2047 characters", value);
    }
    Check(ini.ReadString("no such section \x01", "key", absent) == absent, "a missing section gives the default");
  } catch (...) {
    Check(false, "the INI reader never throws", bytes);
  }
  return 0;
}
