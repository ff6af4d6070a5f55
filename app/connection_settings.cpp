#include "app/connection_settings.h"

#include <exception>

#include "platform/ini_file.h"

namespace marksend {

namespace {

// The path as UTF-8 text, never squeezed through an 8-bit code page.
std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A bare file name lies in the working directory; a value with a separator
// anywhere is taken as written.
std::string AccessFilePath(const std::string& value, const std::filesystem::path& workingDir) {
  if (value.find(NativeSeparator()) != std::string::npos) return value;
  return Utf8Text(workingDir) + NativeSeparator() + value;
}

}  // namespace

char NativeSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

void LoadConnectionSettings(db::Connection& connection, const std::filesystem::path& workingDir) {
  const IniFile ini(workingDir / "Config.ini");
  const std::string provider = ini.ReadString("Database", "Provider", "MSAccess");
  if (provider == "MSAccess") {
    // Server and user name keep what they hold: a file has neither.
    connection.ProviderName = "Access";
    connection.Password = "kel72";
    connection.Database = AccessFilePath(ini.ReadString("MSAccess", "Database File", "TEV10DB.mdb"), workingDir);
  } else {
    connection.ProviderName = "SQL Server";
    connection.Server = ini.ReadString("MSSQL", "Database Server", "(local)");
    connection.Database = ini.ReadString("MSSQL", "Database Name", "TEV10");
    connection.Username = ini.ReadString("MSSQL", "User ID", "sa");
    connection.Password = ini.ReadString("MSSQL", "Password", "kel72");
    connection.Driver = ini.ReadString("MSSQL", "Driver", "");
  }
}

std::optional<std::string> ConnectDatabase(db::Connection& connection, const std::filesystem::path& workingDir) {
  if (connection.Connected()) connection.Close();
  LoadConnectionSettings(connection, workingDir);
  try {
    connection.Open();
  } catch (const std::exception& e) {
    return std::string(e.what());
  } catch (...) {
    return std::string("The database connection failed with an unknown error.");
  }
  return std::nullopt;
}

void DisconnectDatabase(db::Connection& connection) {
  if (connection.Connected()) connection.Close();
}

}  // namespace marksend
