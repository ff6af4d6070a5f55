// The writer sends its bytes through a buffer: lines of every size, on
// either side of the buffer's edge, must come out as they went in.
#include <gtest/gtest.h>

#include "platform/text_file_writer.h"
#include "support/test_support.h"

namespace marksend {
namespace {

TEST(WriteTextFileBuffer, LinesOfEverySizeAcrossTheBufferComeOutWhole) {
  std::vector<std::string> lines;
  const size_t sizes[] = {0, 1, 65531, 65532, 65533, 65534, 65535, 65536, 0, 200000, 7, 65534, 0};
  for (size_t i = 0; i < std::size(sizes); ++i) lines.emplace_back(sizes[i], static_cast<char>('a' + i));
  for (int k = 0; k < 30000; ++k) lines.push_back("<S>" + std::to_string(k) + "</S>");  // many small ones
  const test::TempDir dir;
  for (auto mark : {ByteOrderMark::Write, ByteOrderMark::Omit}) {
    WriteTextFile(dir / "big.txt", lines, mark);
    std::string expected = test::ExpectedFileBytes(lines);
    if (mark == ByteOrderMark::Omit) expected.erase(0, 3);
    EXPECT_EQ(test::ReadFile(dir / "big.txt"), expected);
  }
}

}  // namespace
}  // namespace marksend
