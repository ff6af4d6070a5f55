#include "export/document_lines.h"

namespace marksend {

void DocumentLines::StartBlock() {
  current_.clear();
  current_.reserve(kBlockBytes + 512);  // room for the line that ends the block
}

void DocumentLines::Add(std::string_view line) {
  if (!open_) {
    StartBlock();
    open_ = true;
  } else {
    current_ += "\r\n";
  }
  current_ += line;
  if (current_.size() >= kBlockBytes) {
    blocks_.push_back(std::move(current_));
    open_ = false;
  }
}

const std::vector<std::string>& DocumentLines::Blocks() {
  if (open_) {
    current_.shrink_to_fit();
    blocks_.push_back(std::move(current_));
    open_ = false;
  }
  return blocks_;
}

}  // namespace marksend
