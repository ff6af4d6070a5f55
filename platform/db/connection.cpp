#include "platform/db/connection.h"

#include <filesystem>

#include "platform/db/odbc_provider.h"
#include "platform/db/sqlite_provider.h"
#include "platform/error.h"

namespace marksend::db {

namespace {

std::unique_ptr<Session> OpenDatabaseFile(const std::string& database, const std::string& password) {
  const std::filesystem::path path(reinterpret_cast<const char8_t*>(database.c_str()));
  if (database.empty()) throw Error("No database file is named.");
  if (IsSqliteFile(path)) return OpenSqliteSession(path);
#ifdef _WIN32
  return OpenAccessSession(path, password);
#else
  (void)password;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec))
    throw Error("The database file \"" + database + "\" does not exist.");
  throw Error("The file \"" + database + "\" is not a database this program can open.");
#endif
}

}  // namespace

void Connection::Open() {
  if (session_) return;
  if (ProviderName == "Access") {
    session_ = OpenDatabaseFile(Database, Password);
  } else {
    session_ = OpenOdbcSession(ServerSettings{Server, Database, Username, Password, Driver});
  }
}

void Connection::Open(std::unique_ptr<Session> session) { session_ = std::move(session); }

void Connection::Close() { session_.reset(); }

Session& Connection::OpenSession() {
  if (!session_) throw Error("The database connection is not open.");
  return *session_;
}

}  // namespace marksend::db
