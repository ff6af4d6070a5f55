// Reads values from an INI file with the rules of the Windows private-profile
// reader. The file is read once when constructed and never written.
// Thread rule: const methods may be used from any thread.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace marksend {

class IniFile {
 public:
  // Loads the file at path. A missing or unreadable file behaves as empty.
  explicit IniFile(const std::filesystem::path& path);

  // The value of key in section, or def when the file, section or key is
  // missing. Names compare case-insensitively; the result is UTF-8.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::string_view name) const;

  std::vector<Section> sections_;
};

}  // namespace marksend
