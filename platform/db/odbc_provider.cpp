#include "platform/db/odbc_provider.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "platform/db/odbc_connection_string.h"
#include "platform/db/utf16.h"
#include "platform/error.h"

namespace marksend::db {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the wide ODBC calls take UTF-16");

// SQL Server's own codes for time(n) and datetimeoffset, which FreeTDS uses too.
constexpr SQLSMALLINT kSqlServerTime = -154;
constexpr SQLSMALLINT kSqlServerDateTimeOffset = -155;
constexpr SQLULEN kLoginTimeoutSeconds = 5;

template <SQLSMALLINT Type>
struct HandleFree {
  void operator()(SQLHANDLE handle) const { SQLFreeHandle(Type, handle); }
};
struct ConnectionFree {
  void operator()(SQLHDBC handle) const {
    SQLDisconnect(handle);  // refused harmlessly when never connected
    SQLFreeHandle(SQL_HANDLE_DBC, handle);
  }
};
using EnvironmentPtr = std::unique_ptr<void, HandleFree<SQL_HANDLE_ENV>>;
using ConnectionPtr = std::unique_ptr<void, ConnectionFree>;
using StatementPtr = std::unique_ptr<void, HandleFree<SQL_HANDLE_STMT>>;

using WideString = std::basic_string<SQLWCHAR>;

WideString Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return WideString(units.begin(), units.end());
}

std::string Narrow(const SQLWCHAR* text, size_t units) {
  const std::u16string copy(text, text + units);
  return Utf16ToUtf8(copy);
}

std::string FirstLine(std::string_view sql) {
  const size_t end = sql.find_first_of("\r\n");
  return std::string(sql.substr(0, end));
}

// Every diagnostic record of handle as "[SQLSTATE] message", joined by "; "
// (a record repeated word for word once).
// A password a driver might echo is blotted out.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle, const std::string& password = "") {
  std::string out;
  for (SQLSMALLINT record = 1; record <= 20; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    WideString message(1024, 0);
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                  static_cast<SQLSMALLINT>(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
      message.assign(static_cast<size_t>(length) + 1, 0);
      rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                          static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!SQL_SUCCEEDED(rc)) break;
    std::string text =
        Narrow(message.data(), std::min<size_t>(static_cast<size_t>(length), message.size() - 1));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
      text.pop_back();
    const std::string entry = "[" + Narrow(state, 5) + "] " + text;
    if (out.find(entry) != std::string::npos) continue;
    if (!out.empty()) out += "; ";
    out += entry;
  }
  // Short passwords are left alone: blotting them would garble ordinary words.
  if (password.size() >= 4)
    for (size_t at = out.find(password); at != std::string::npos; at = out.find(password, at))
      out.replace(at, password.size(), "***");
  return out.empty() ? "the driver gave no reason" : out;
}

EnvironmentPtr NewEnvironment() {
  SQLHANDLE raw = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw)))
    throw Error("The ODBC driver manager cannot be started (is unixODBC installed?).");
  EnvironmentPtr environment(raw);
  SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION,
                reinterpret_cast<SQLPOINTER>(static_cast<std::intptr_t>(SQL_OV_ODBC3)), 0);
  return environment;
}

// How a column is fetched, from its SQL type.
enum class Fetch { kInteger, kFloat, kDecimal, kDate, kTime, kText };

Fetch FetchFor(SQLSMALLINT type) {
  switch (type) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return Fetch::kInteger;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return Fetch::kFloat;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return Fetch::kDecimal;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIMESTAMP:
    case kSqlServerDateTimeOffset:
      return Fetch::kDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case kSqlServerTime:
      return Fetch::kTime;
    default:
      return Fetch::kText;  // characters, and anything else in its text form
  }
}

struct Column {
  std::string name;
  Fetch fetch = Fetch::kText;
  SQLSMALLINT scale = 0;
};

class OdbcSession : public Session {
 public:
  OdbcSession(EnvironmentPtr environment, ConnectionPtr connection, std::string name)
      : environment_(std::move(environment)), connection_(std::move(connection)), name_(std::move(name)) {}

  ResultSet Execute(const std::string& sql) override {
    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &raw)))
      Fail(sql, Diagnostics(SQL_HANDLE_DBC, connection_.get()));
    StatementPtr statement(raw);
    WideString text = Wide(sql);
    SQLRETURN rc = SQLExecDirectW(raw, text.data(), static_cast<SQLINTEGER>(text.size()));
    ResultSet result;
    if (rc == SQL_NO_DATA) return result;  // a statement that touched no rows
    if (!SQL_SUCCEEDED(rc)) Fail(sql, Diagnostics(SQL_HANDLE_STMT, raw));

    // A batch may report row counts before its first set of rows.
    SQLSMALLINT count = 0;
    for (;;) {
      if (!SQL_SUCCEEDED(SQLNumResultCols(raw, &count))) Fail(sql, Diagnostics(SQL_HANDLE_STMT, raw));
      if (count > 0) break;
      rc = SQLMoreResults(raw);
      if (rc == SQL_NO_DATA) return result;
      if (!SQL_SUCCEEDED(rc)) Fail(sql, Diagnostics(SQL_HANDLE_STMT, raw));
    }

    const std::vector<Column> columns = Describe(sql, raw, count);
    for (const auto& column : columns) result.columns.push_back(column.name);
    for (;;) {
      rc = SQLFetch(raw);
      if (rc == SQL_NO_DATA) break;
      if (!SQL_SUCCEEDED(rc)) Fail(sql, Diagnostics(SQL_HANDLE_STMT, raw));
      for (SQLUSMALLINT c = 0; c < columns.size(); ++c)
        result.cells.push_back(Cell(sql, raw, static_cast<SQLUSMALLINT>(c + 1), columns[c]));
    }
    return result;
  }

 private:
  [[noreturn]] void Fail(const std::string& sql, const std::string& reason) const {
    throw Error("Could not run the statement \"" + FirstLine(sql) + "\" on " + name_ + ": " + reason);
  }

  std::vector<Column> Describe(const std::string& sql, SQLHSTMT statement, SQLSMALLINT count) const {
    std::vector<Column> columns;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
      WideString name(256, 0);
      SQLSMALLINT length = 0, type = 0, scale = 0, nullable = 0;
      SQLULEN size = 0;
      SQLRETURN rc = SQLDescribeColW(statement, c, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                     &length, &type, &size, &scale, &nullable);
      if (SQL_SUCCEEDED(rc) && length >= static_cast<SQLSMALLINT>(name.size())) {
        name.assign(static_cast<size_t>(length) + 1, 0);
        rc = SQLDescribeColW(statement, c, name.data(), static_cast<SQLSMALLINT>(name.size()), &length, &type,
                             &size, &scale, &nullable);
      }
      if (!SQL_SUCCEEDED(rc)) Fail(sql, Diagnostics(SQL_HANDLE_STMT, statement));
      columns.push_back({Narrow(name.data(), std::min<size_t>(static_cast<size_t>(length), name.size() - 1)),
                         FetchFor(type), scale});
    }
    return columns;
  }

  // Reads into target; false when the value is NULL.
  bool Get(const std::string& sql, SQLHSTMT statement, SQLUSMALLINT c, SQLSMALLINT cType, void* target,
           SQLLEN size) const {
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement, c, cType, target, size, &indicator)))
      Fail(sql, Diagnostics(SQL_HANDLE_STMT, statement));
    return indicator != SQL_NULL_DATA;
  }

  Value Cell(const std::string& sql, SQLHSTMT statement, SQLUSMALLINT c, const Column& column) const {
    switch (column.fetch) {
      case Fetch::kInteger: {
        SQLBIGINT value = 0;
        if (!Get(sql, statement, c, SQL_C_SBIGINT, &value, 0)) return Null{};
        return static_cast<std::int64_t>(value);
      }
      case Fetch::kFloat: {
        SQLDOUBLE value = 0;
        if (!Get(sql, statement, c, SQL_C_DOUBLE, &value, 0)) return Null{};
        return static_cast<double>(value);
      }
      case Fetch::kDecimal:
        return Decimal(sql, statement, c, column);
      case Fetch::kDate: {
        SQL_TIMESTAMP_STRUCT value{};
        if (!Get(sql, statement, c, SQL_C_TYPE_TIMESTAMP, &value, sizeof value)) return Null{};
        return DateTime{value.year, value.month, value.day, value.hour, value.minute, value.second};
      }
      case Fetch::kTime: {
        SQL_TIME_STRUCT value{};
        if (!Get(sql, statement, c, SQL_C_TYPE_TIME, &value, sizeof value)) return Null{};
        DateTime time;  // a bare time lies on the zero day, as in Access
        time.hour = value.hour, time.minute = value.minute, time.second = value.second;
        return time;
      }
      case Fetch::kText:
        break;
    }
    return Text(sql, statement, c);
  }

  // Exact numbers come as text, so no digit is lost on the way: an integer
  // when the column has no scale and the value fits, else a double.
  Value Decimal(const std::string& sql, SQLHSTMT statement, SQLUSMALLINT c, const Column& column) const {
    char buffer[160] = {};
    if (!Get(sql, statement, c, SQL_C_CHAR, buffer, sizeof buffer)) return Null{};
    std::string_view text(buffer);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    if (column.scale == 0) {
      std::int64_t integer = 0;
      const auto parsed = std::from_chars(text.data(), end, integer);
      if (parsed.ec == std::errc() && parsed.ptr == end) return integer;
    }
    double number = 0;
    const auto parsed = std::from_chars(text.data(), end, number);
    if (parsed.ec == std::errc() && parsed.ptr == end) return number;
    return std::string(text);  // reading it as a number then names the column and value
  }

  // Text of any length: SQLGetData hands it over piece by piece.
  Value Text(const std::string& sql, SQLHSTMT statement, SQLUSMALLINT c) const {
    std::u16string text;
    SQLWCHAR buffer[2048];
    constexpr SQLLEN kBytes = sizeof buffer;
    constexpr size_t kUnits = sizeof buffer / sizeof buffer[0];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(statement, c, SQL_C_WCHAR, buffer, kBytes, &indicator);
      if (rc == SQL_NO_DATA) break;  // the previous piece was the last
      if (!SQL_SUCCEEDED(rc)) Fail(sql, Diagnostics(SQL_HANDLE_STMT, statement));
      if (indicator == SQL_NULL_DATA) return Null{};
      const bool cut =
          indicator == SQL_NO_TOTAL || indicator > kBytes - static_cast<SQLLEN>(sizeof(SQLWCHAR));
      const size_t units = cut ? kUnits - 1 : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
      text.append(buffer, buffer + units);
      if (!cut) break;
    }
    return Utf16ToUtf8(text);
  }

  EnvironmentPtr environment_;  // outlives the connection
  ConnectionPtr connection_;
  std::string name_;
};

// Connects with the connection string; what names the database in messages.
std::unique_ptr<Session> Connect(const std::string& connectionString, const std::string& what,
                                 const std::string& password) {
  EnvironmentPtr environment = NewEnvironment();
  SQLHANDLE raw = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment.get(), &raw)))
    throw Error("Cannot connect to " + what + ": " + Diagnostics(SQL_HANDLE_ENV, environment.get()));
  ConnectionPtr connection(raw);
  const auto seconds = reinterpret_cast<SQLPOINTER>(static_cast<std::intptr_t>(kLoginTimeoutSeconds));
  // Both are best effort: a driver that lacks one keeps its own default.
  SQLSetConnectAttrW(raw, SQL_ATTR_LOGIN_TIMEOUT, seconds, SQL_IS_UINTEGER);
  SQLSetConnectAttrW(raw, SQL_ATTR_CONNECTION_TIMEOUT, seconds, SQL_IS_UINTEGER);
  WideString text = Wide(connectionString);
  const SQLRETURN rc = SQLDriverConnectW(raw, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                                         nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc))
    throw Error("Cannot connect to " + what + ": " + Diagnostics(SQL_HANDLE_DBC, raw, password));
  // Connected: a long export must not be cut off by the time allowed to connect.
  SQLSetConnectAttrW(raw, SQL_ATTR_CONNECTION_TIMEOUT, nullptr, SQL_IS_UINTEGER);
  return std::make_unique<OdbcSession>(std::move(environment), std::move(connection), what);
}

}  // namespace

std::vector<std::string> InstalledOdbcDrivers() {
  std::vector<std::string> drivers;
  const EnvironmentPtr environment = NewEnvironment();
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT nameLength = 0, attributesLength = 0;
    const SQLRETURN rc = SQLDriversW(environment.get(), direction, name, 512, &nameLength, attributes, 2048,
                                     &attributesLength);
    if (!SQL_SUCCEEDED(rc)) break;
    drivers.push_back(Narrow(name, std::min<size_t>(static_cast<size_t>(nameLength), 511)));
    direction = SQL_FETCH_NEXT;
  }
  return drivers;
}

std::unique_ptr<Session> OpenOdbcSession(const ServerSettings& settings) {
  const std::string driver = ChooseOdbcDriver(settings.driver, InstalledOdbcDrivers());
  const std::string what = "the database server \"" + settings.server + "\" (database \"" +
                           settings.database + "\", ODBC driver \"" + driver + "\")";
  return Connect(OdbcConnectionString(settings, driver), what, settings.password);
}

#ifdef _WIN32
std::unique_ptr<Session> OpenAccessSession(const std::filesystem::path& path, const std::string& password) {
  const std::u8string u8 = path.u8string();
  const std::string file(u8.begin(), u8.end());
  std::string text =
      "DRIVER={Microsoft Access Driver (*.mdb, *.accdb)};DBQ=" + OdbcAttributeValue(file) + ";";
  if (!password.empty()) text += "PWD=" + OdbcAttributeValue(password) + ";";
  return Connect(text, "the Access database \"" + file + "\"", password);
}
#endif

}  // namespace marksend::db
