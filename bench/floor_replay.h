// The floor of an export: its statements sent straight through the SQLite C
// API, each prepared and stepped to its end, with nothing read or built.
// Thread rule: one call per thread at a time.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace marksend::bench {

// Opens the database as the provider does (read-only, ms_plus registered),
// then runs every statement with its "+" rewritten as the provider rewrites
// it. Returns the seconds the statements took, the opening not counted.
// Throws Error when a statement fails.
double ReplayStatements(const std::filesystem::path& database, const std::vector<std::string>& statements);

}  // namespace marksend::bench
