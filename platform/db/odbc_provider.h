// The ODBC provider: SQL Server (or any server with an ODBC driver) through a
// DSN-less connection, and on Windows Access files through the Access driver.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/session.h"

namespace marksend::db {

struct ServerSettings {
  std::string server;    // "(local)" means this machine
  std::string database;
  std::string username;
  std::string password;
  std::string driver;    // empty: the first installed of the known drivers
};

// The ODBC drivers installed on this machine, by name.
std::vector<std::string> InstalledOdbcDrivers();

// Connects with a login timeout; throws Error with the driver's diagnostic.
std::unique_ptr<Session> OpenOdbcSession(const ServerSettings& settings);

#ifdef _WIN32
// Opens an Access file (.mdb/.accdb) through the Access ODBC driver.
std::unique_ptr<Session> OpenAccessSession(const std::filesystem::path& path,
                                           const std::string& password);
#endif

}  // namespace marksend::db
