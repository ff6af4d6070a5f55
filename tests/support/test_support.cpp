#include "support/test_support.h"

#include <libxml/parser.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace marksend::test {

TempDir::TempDir() {
  std::random_device rd;
  for (int i = 0; i < 100; ++i) {
    auto candidate = std::filesystem::temp_directory_path() / ("marksend-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore write permission so that read-only test folders can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ExpectedFileBytes(const std::vector<std::string>& lines) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::string XmlProblem(const std::filesystem::path& path) {
  const std::string bytes = ReadFile(path);
  xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), path.c_str(), nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
  if (doc) {
    xmlFreeDoc(doc);
    return "";
  }
  const xmlError* error = xmlGetLastError();
  return error && error->message ? error->message : "not well-formed";
}

void MakeSqliteDatabase(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot create " + path.string());
  }
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  std::string error = message ? message : "";
  sqlite3_free(message);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("fixture SQL failed: " + error);
}

RunResult Run(const std::string& command, const std::filesystem::path& cwd) {
  TempDir capture;
  const auto out = capture / "out", err = capture / "err";
  const std::string line = "cd '" + cwd.string() + "' && " + command + " >'" + out.string() + "' 2>'" +
                           err.string() + "' </dev/null";
  int status = std::system(line.c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

std::string BinPath(const std::string& name) { return std::string(MARKSEND_BIN_DIR) + "/" + name; }

std::filesystem::path SourcePath(const std::string& relative) {
  return std::filesystem::path(MARKSEND_SOURCE_DIR) / relative;
}

}  // namespace marksend::test
