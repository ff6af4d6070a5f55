// Placeholder until the ODBC provider lands.
#include "platform/db/odbc_provider.h"

#include "platform/error.h"

namespace marksend::db {

std::vector<std::string> InstalledOdbcDrivers() { return {}; }

std::unique_ptr<Session> OpenOdbcSession(const ServerSettings&) {
  throw Error("The SQL Server provider is not available yet.");
}

}  // namespace marksend::db
