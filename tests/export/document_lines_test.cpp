#include "export/document_lines.h"

#include <gtest/gtest.h>

#include "platform/text_file_writer.h"
#include "support/test_support.h"

namespace marksend {
namespace {

// Blocks written by the text file writer must give the bytes of the lines
// written one by one, wherever the blocks happen to break.
TEST(DocumentLines, BlocksWriteTheSameBytesAsTheLines) {
  const std::string longLine(DocumentLines::kBlockBytes - 3, 'x');
  const std::vector<std::vector<std::string>> documents = {
      {},
      {""},
      {"", ""},
      {"<a>", "", "</a>"},
      {longLine, "", "b"},                     // the block ends right after a short line
      {longLine + "yyyy", "", "", "c"},        // the block ends on its first line
      {"a", longLine, longLine, longLine, ""},  // several blocks, an empty last line
  };
  const test::TempDir dir;
  for (size_t i = 0; i < documents.size(); ++i) {
    DocumentLines lines;
    for (const auto& line : documents[i]) lines.Add(line);
    WriteTextFile(dir / "out.xml", lines.Blocks());
    EXPECT_EQ(test::ReadFile(dir / "out.xml"), test::ExpectedFileBytes(documents[i])) << "document " << i;
    if (documents[i].size() > 3) {
      EXPECT_GT(lines.Blocks().size(), 1u) << "document " << i;  // the long ones do cross blocks
    }
  }
}

}  // namespace
}  // namespace marksend
