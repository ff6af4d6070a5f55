// A document's lines, held compactly while the export builds it: lines are
// packed into blocks of about kBlockBytes, joined inside a block by CR LF. The
// text file writer ends every entry it is given with CR LF, so the blocks
// written as its "lines" give the same bytes as the lines one by one, at a
// fraction of the memory. Thread rule: one thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marksend {

class DocumentLines {
 public:
  static constexpr size_t kBlockBytes = 256 * 1024;

  // Adds one line (without its line break).
  void Add(std::string_view line);

  // The blocks, for WriteTextFile; the document is complete after this.
  const std::vector<std::string>& Blocks();

 private:
  void StartBlock();

  std::vector<std::string> blocks_;
  std::string current_;
  bool open_ = false;  // current_ holds at least one line
};

}  // namespace marksend
