// The SQLite provider: a database file opened read-only, with the binary "+"
// of the Access and SQL Server dialect rewritten into a function of its own.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/db/session.h"

namespace marksend::db {

// True when the file at path begins with the SQLite header.
bool IsSqliteFile(const std::filesystem::path& path);

// Opens an existing SQLite database read-only (never creates one). Throws
// Error when the file is missing, a folder, empty or not a SQLite database.
std::unique_ptr<Session> OpenSqliteSession(const std::filesystem::path& path);

}  // namespace marksend::db
