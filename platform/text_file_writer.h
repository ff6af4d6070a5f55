// Writes a whole text file atomically: UTF-8 with the byte-order mark, CR LF
// after every line, into a temporary file beside the target that is flushed
// and renamed over it. Thread-safe (no shared state).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace marksend {

enum class ByteOrderMark { Write, Omit };

// Writes lines to path. On failure the target is left as it was, the
// temporary file is removed, and an Error names the path and the reason.
// Omit the mark only for files whose readers choke on it (web server rules).
void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                   ByteOrderMark mark = ByteOrderMark::Write);

}  // namespace marksend
