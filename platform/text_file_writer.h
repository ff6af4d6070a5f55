// Writes a whole text file atomically: UTF-8 with the byte-order mark, CR LF
// after every line, into a temporary file beside the target that is flushed
// and renamed over it. Thread-safe (no shared state).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace marksend {

// Writes lines to path. On failure the target is left as it was, the
// temporary file is removed, and an Error names the path and the reason.
void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace marksend
