// The SQLite provider: a database file opened read-only, with the binary "+"
// of the Access and SQL Server dialect rewritten into a function of its own.
// Each session keeps a small plan cache: SELECTs that differ only in the
// whole numbers they compare with share one prepared statement
// (statement_shape.h). Thread rule: a session is used by one thread at a time.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/db/session.h"

struct sqlite3;

namespace marksend::db {

// True when the file at path begins with the SQLite header.
bool IsSqliteFile(const std::filesystem::path& path);

// Opens an existing SQLite database read-only (never creates one). Throws
// Error when the file is missing, a folder, empty or not a SQLite database.
std::unique_ptr<Session> OpenSqliteSession(const std::filesystem::path& path);

// Registers on db the function that the rewritten "+" calls (kPlusFunction),
// as every session has it; for code that runs rewritten statements through
// the C API itself. Returns SQLite's result code.
int RegisterPlusFunction(sqlite3* db);

}  // namespace marksend::db
