#include "platform/text_file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/test_support.h"

namespace marksend {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(WriteTextFile, WritesBomAndCrLfAfterEveryLine) {
  struct Case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const Case cases[] = {
      {{}, "\xEF\xBB\xBF"},
      {{""}, "\xEF\xBB\xBF\r\n"},
      {{"<?xml version=\"1.0\"?>", "  <a>ก</a>", ""},
       "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n  <a>\xE0\xB8\x81</a>\r\n\r\n"},
      {{"tab\there", "no\rconversion\n"}, "\xEF\xBB\xBFtab\there\r\nno\rconversion\n\r\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteTextFile(dir / "out.xml", c.lines);
    EXPECT_EQ(ReadFile(dir / "out.xml"), c.bytes);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"out.xml"});
  }
}

TEST(WriteTextFile, NewFileGetsNormalPermissionsAndExistingKeepsItsOwn) {
  TempDir dir;
  const mode_t old = ::umask(022);
  WriteTextFile(dir / "new.txt", {"x"});
  ::umask(old);
  EXPECT_EQ(fs::status(dir / "new.txt").permissions(), fs::perms(0644));

  WriteFile(dir / "old.txt", "previous content that is longer");
  fs::permissions(dir / "old.txt", fs::perms(0600));
  WriteTextFile(dir / "old.txt", {"y"});
  EXPECT_EQ(ReadFile(dir / "old.txt"), "\xEF\xBB\xBFy\r\n");
  EXPECT_EQ(fs::status(dir / "old.txt").permissions(), fs::perms(0600));
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"new.txt", "old.txt"}));
}

// Caps the size of files this process may write (root included) so that a
// write fails for real; a write past the cap then fails with EFBIG instead of
// raising SIGXFSZ.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = saved_;
    capped.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST(WriteTextFile, FailureLeavesOldFileAndNoTemporaryFile) {
  struct Case {
    const char* what;
    std::string target;  // relative to the folder
    std::string reason;  // the system's words
    bool capped;         // file size capped below what is written
  };
  const Case cases[] = {
      {"folder missing", "absent/out.xml", "No such file or directory", false},
      {"target is a folder", "folder", "Is a directory", false},
      {"write fails", "old.xml", "File too large", true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteFile(dir / "old.xml", "old content");
    fs::create_directory(dir / "folder");
    WriteFile(dir / "folder" / "inside", "kept");
    const auto before = Names(dir.path());
    const fs::path target = dir / c.target;
    try {
      std::optional<FileSizeCap> cap;
      if (c.capped) cap.emplace(1024);
      WriteTextFile(target, std::vector<std::string>(100, std::string(100, 'z')));
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(target.string()), std::string::npos) << c.what << ": " << message;
      EXPECT_NE(message.find(c.reason), std::string::npos) << c.what << ": " << message;
    }
    EXPECT_EQ(ReadFile(dir / "old.xml"), "old content") << c.what;
    EXPECT_EQ(ReadFile(dir / "folder" / "inside"), "kept") << c.what;
    EXPECT_EQ(Names(dir.path()), before) << c.what;
    EXPECT_EQ(Names(dir / "folder"), std::set<std::string>{"inside"}) << c.what;
  }
}

}  // namespace
}  // namespace marksend
