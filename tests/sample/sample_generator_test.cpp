// marksend-sample as a program: the same seed gives the same bytes, a new
// file replaces an old one whole, and bad arguments are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace marksend {
namespace {

test::RunResult Sample(const std::string& arguments, const std::filesystem::path& cwd) {
  return test::Run(test::BinPath("marksend-sample") + " " + arguments, cwd);
}

TEST(SampleGenerator, SameSeedGivesSameBytesAndAnotherSeedDoesNot) {
  test::TempDir dir;
  for (const char* args : {"--out a.db --students 20 --seed 9 --year 2565",
                           "--out b.db --students 20 --seed 9 --year 2565",
                           "--out c.db --students 20 --seed 10 --year 2565"}) {
    const auto result = Sample(args, dir.path());
    ASSERT_EQ(result.exitCode, 0) << args << ": " << result.err;
  }
  const std::string a = test::ReadFile(dir / "a.db");
  EXPECT_EQ(a.rfind("SQLite format 3", 0), 0u);
  EXPECT_TRUE(a == test::ReadFile(dir / "b.db"));
  EXPECT_FALSE(a == test::ReadFile(dir / "c.db"));
}

TEST(SampleGenerator, ReplacesAnExistingFileAndLeavesNothingBeside) {
  test::TempDir dir;
  ASSERT_EQ(Sample("--out ref.db --students 12 --seed 3 --year 2566", dir.path()).exitCode, 0);
  test::WriteFile(dir / "school.db", "an older file that is not a database");
  const auto result = Sample("--out school.db --students 12 --seed 3 --year 2566", dir.path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(test::ReadFile(dir / "school.db") == test::ReadFile(dir / "ref.db"));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2);
}

TEST(SampleGenerator, RefusesBadArgumentsAndKeepsTheOldFile) {
  test::TempDir dir;
  test::WriteFile(dir / "keep.db", "old");
  for (const char* args : {"", "--students 10", "--out keep.db --students 0", "--out keep.db --students x",
                           "--out keep.db --year 66", "--out keep.db --seed -1", "--out keep.db --colour red",
                           "--out"}) {
    const auto result = Sample(args, dir.path());
    EXPECT_EQ(result.exitCode, 64) << args;
    EXPECT_NE(result.err.find("usage:"), std::string::npos) << args;
  }
  const auto missingFolder = Sample("--out no/such/folder/x.db --students 5", dir.path());
  EXPECT_EQ(missingFolder.exitCode, 1);
  EXPECT_FALSE(missingFolder.err.empty());
  EXPECT_EQ(test::ReadFile(dir / "keep.db"), "old");
}

}  // namespace
}  // namespace marksend
