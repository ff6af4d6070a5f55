#include "bench/statement_file.h"

#include <fstream>
#include <iterator>

#include "platform/error.h"

namespace marksend::bench {

void WriteStatements(const std::filesystem::path& path, const std::vector<std::string>& statements) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& s : statements) {
    out.write(s.data(), static_cast<std::streamsize>(s.size()));
    out.put('\0');
  }
  out.close();
  if (!out) throw Error("Cannot write the statements to " + path.string() + ".");
}

std::vector<std::string> ReadStatements(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot read the statements from " + path.string() + ".");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> statements;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
    statements.emplace_back(bytes, start, end - start);
  return statements;
}

}  // namespace marksend::bench
