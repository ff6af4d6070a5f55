#include "platform/db/odbc_connection_string.h"

#include <algorithm>
#include <string_view>

#include "platform/error.h"

namespace marksend::db {

const std::vector<std::string> kKnownSqlServerDrivers = {
    "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server", "FreeTDS", "SQL Server"};

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Contains(std::string_view text, std::string_view word) {
  return std::search(text.begin(), text.end(), word.begin(), word.end(),
                     [](char x, char y) { return Lower(x) == Lower(y); }) != text.end();
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string QuotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "\"" : ", \"") + name + "\"";
  return list;
}

enum class DriverKind { kMicrosoft, kFreeTds, kPostgreSql };

DriverKind KindOf(const std::string& driver) {
  if (Contains(driver, "FreeTDS") || Contains(driver, "libtdsodbc")) return DriverKind::kFreeTds;
  if (Contains(driver, "PostgreSQL") || Contains(driver, "psqlodbc")) return DriverKind::kPostgreSql;
  return DriverKind::kMicrosoft;  // and any other driver that takes SERVER= as SQL Server's do
}

// "ODBC Driver 18 for SQL Server" and later encrypt by default and refuse the
// self-signed certificate a school's server has.
bool EncryptsByDefault(const std::string& driver) {
  constexpr std::string_view kPrefix = "ODBC Driver ";
  if (driver.size() <= kPrefix.size() ||
      !SameName(std::string_view(driver).substr(0, kPrefix.size()), kPrefix))
    return false;
  int version = 0;
  for (size_t i = kPrefix.size(); i < driver.size() && driver[i] >= '0' && driver[i] <= '9'; ++i)
    version = version * 10 + (driver[i] - '0');
  return version >= 18 && Contains(driver, "SQL Server");
}

struct ServerAddress {
  std::string host;  // with any "\instance"
  std::string port;  // digits, or empty
};

// Splits "host,port"; a part after the comma that is not a port stays put.
ServerAddress SplitServer(std::string_view server) {
  const size_t comma = server.rfind(',');
  if (comma != std::string_view::npos) {
    const std::string_view port = Trimmed(server.substr(comma + 1));
    if (!port.empty() && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return {std::string(Trimmed(server.substr(0, comma))), std::string(port)};
  }
  return {std::string(server), ""};
}

// "(local)" (or ".") alone or before "\instance" names this machine.
std::string LocalAsLoopback(const std::string& host) {
  const size_t slash = host.find('\\');
  const std::string_view name = Trimmed(std::string_view(host).substr(0, slash));
  if (!SameName(name, "(local)") && name != ".") return host;
  return "127.0.0.1" + (slash == std::string::npos ? std::string() : host.substr(slash));
}

// FreeTDS before 1.4 ends a braced value at the first "};" and keeps "}}"
// doubled, so it gets braces only when a ";" or a leading "{" needs them.
std::string FreeTdsValue(const std::string& value) {
  if (value.find(';') == std::string::npos && (value.empty() || value.front() != '{')) return value;
  return OdbcAttributeValue(value);
}

void Add(std::string& out, const char* key, const std::string& value, DriverKind kind) {
  out += key;
  out += '=';
  out += kind == DriverKind::kFreeTds ? FreeTdsValue(value) : OdbcAttributeValue(value);
  out += ';';
}

}  // namespace

std::string ChooseOdbcDriver(const std::string& requested, const std::vector<std::string>& installed) {
  auto find = [&installed](const std::string& name) {
    return std::find_if(installed.begin(), installed.end(),
                        [&name](const std::string& s) { return SameName(s, name); });
  };
  const std::string_view wanted = Trimmed(requested);
  if (!wanted.empty()) {
    const auto it = find(std::string(wanted));
    if (it != installed.end()) return *it;
    throw Error("The ODBC driver \"" + std::string(wanted) +
                "\" named by the Driver setting is not installed. " +
                (installed.empty() ? std::string("No ODBC driver is installed.")
                                   : "The installed drivers are " + QuotedList(installed) + "."));
  }
  for (const auto& known : kKnownSqlServerDrivers) {
    const auto it = find(known);
    if (it != installed.end()) return *it;
  }
  throw Error("No ODBC driver for SQL Server is installed. Install one of " +
              QuotedList(kKnownSqlServerDrivers) +
              " (on Debian: the package tdsodbc), or name an installed driver with the Driver setting of the "
              "section MSSQL.");
}

std::string OdbcAttributeValue(const std::string& value) {
  const bool plain =
      value.find_first_of(";{}=") == std::string::npos && Trimmed(value).size() == value.size();
  if (plain) return value;
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  braced += '}';
  return braced;
}

std::string OdbcConnectionString(const ServerSettings& settings, const std::string& driver) {
  const DriverKind kind = KindOf(driver);
  ServerAddress address = SplitServer(Trimmed(settings.server));
  if (kind != DriverKind::kMicrosoft) address.host = LocalAsLoopback(address.host);

  std::string out = "DRIVER={";
  for (char c : driver) {
    out += c;
    if (c == '}') out += '}';
  }
  out += "};";
  switch (kind) {
    case DriverKind::kMicrosoft:
      Add(out, "SERVER", address.port.empty() ? address.host : address.host + "," + address.port, kind);
      break;
    case DriverKind::kFreeTds:
      Add(out, "SERVER", address.host, kind);
      if (!address.port.empty()) Add(out, "PORT", address.port, kind);
      break;
    case DriverKind::kPostgreSql:
      Add(out, "Servername", address.host, kind);
      if (!address.port.empty()) Add(out, "Port", address.port, kind);
      break;
  }
  Add(out, kind == DriverKind::kPostgreSql ? "Database" : "DATABASE", settings.database, kind);
  if (!settings.username.empty()) {
    Add(out, "UID", settings.username, kind);
    Add(out, "PWD", settings.password, kind);
  } else if (kind == DriverKind::kMicrosoft) {
    out += "Trusted_Connection=yes;";  // no user: the Windows account signs in
  }
  // An explicit version: in its "auto" mode FreeTDS 1.3 retries a login that
  // timed out with the Sybase protocol, and that retry can wait forever.
  if (kind == DriverKind::kFreeTds) out += "TDS_Version=7.4;ClientCharset=UTF-8;";
  if (EncryptsByDefault(driver)) out += "TrustServerCertificate=yes;";
  return out;
}

}  // namespace marksend::db
