// Helpers shared by the tests: temporary folders, file contents, running the
// built programs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace marksend::test {

// A new empty folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// The bytes a list of lines becomes when written by the text file writer.
std::string ExpectedFileBytes(const std::vector<std::string>& lines);

// Empty when the file is well-formed XML (parsed by libxml2), else the parser's message.
std::string XmlProblem(const std::filesystem::path& path);

// Creates a SQLite database at path from SQL text (many statements).
void MakeSqliteDatabase(const std::filesystem::path& path, const std::string& sql);

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};
// Runs a command line through the shell in folder cwd, capturing both outputs.
RunResult Run(const std::string& command, const std::filesystem::path& cwd);

// A built program in build/bin.
std::string BinPath(const std::string& name);
// A file under the source tree.
std::filesystem::path SourcePath(const std::string& relative);

}  // namespace marksend::test
