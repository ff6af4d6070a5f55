// The recorded statements of one run on disk: each statement followed by a
// NUL byte (statements hold line breaks, never NUL). Thread-safe.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace marksend::bench {

// Writes the statements to path, replacing the file; throws Error on failure.
void WriteStatements(const std::filesystem::path& path, const std::vector<std::string>& statements);

// Reads what WriteStatements wrote; throws Error when the file cannot be read.
std::vector<std::string> ReadStatements(const std::filesystem::path& path);

}  // namespace marksend::bench
