#include "platform/db/sqlite_provider.h"

#include <sqlite3.h>

#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/db/plus_rewrite.h"
#include "platform/db/statement_shape.h"
#include "platform/error.h"

namespace marksend::db {

namespace {

constexpr char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string FirstLine(std::string_view sql) {
  const size_t end = sql.find_first_of("\r\n");
  return std::string(sql.substr(0, end));
}

// A declared type naming a date or a time marks a date column.
bool IsDateType(const char* declared) {
  if (!declared) return false;
  auto contains = [declared](const char* word) {
    const size_t n = std::strlen(word);
    for (const char* p = declared; *p; ++p) {
      size_t k = 0;
      while (k < n && p[k] && (p[k] & ~0x20) == word[k]) ++k;
      if (k == n) return true;
    }
    return false;
  };
  return contains("DATE") || contains("TIME");
}

// A number in the text form of AsText (digits, or "%.15g") into buffer.
size_t NumberText(sqlite3_value* value, char (&buffer)[32]) {
  std::to_chars_result result;
  if (sqlite3_value_type(value) == SQLITE_INTEGER)
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(sqlite3_value_int64(value)));
  else
    result = std::to_chars(buffer, buffer + sizeof buffer, sqlite3_value_double(value), std::chars_format::general, 15);
  return static_cast<size_t>(result.ptr - buffer);
}

bool IsNumber(int type) { return type == SQLITE_INTEGER || type == SQLITE_FLOAT; }

// ms_plus(a, b): "+" as Access and SQL Server have it. NULL if either side is
// NULL, the sum of two numbers, else the two sides joined as text.
void PlusFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const int types[2] = {sqlite3_value_type(args[0]), sqlite3_value_type(args[1])};
  if (types[0] == SQLITE_NULL || types[1] == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  if (IsNumber(types[0]) && IsNumber(types[1])) {
    if (types[0] == SQLITE_INTEGER && types[1] == SQLITE_INTEGER) {
      const sqlite3_int64 a = sqlite3_value_int64(args[0]), b = sqlite3_value_int64(args[1]);
      constexpr sqlite3_int64 kMax = std::numeric_limits<sqlite3_int64>::max();
      constexpr sqlite3_int64 kMin = std::numeric_limits<sqlite3_int64>::min();
      if (!((b > 0 && a > kMax - b) || (b < 0 && a < kMin - b))) {
        sqlite3_result_int64(context, a + b);
        return;
      }  // an overflowing sum goes on as a real, as SQLite's own "+" does
    }
    sqlite3_result_double(context, sqlite3_value_double(args[0]) + sqlite3_value_double(args[1]));
    return;
  }
  char numbers[2][32];
  const char* parts[2];
  size_t sizes[2];
  for (int k = 0; k < 2; ++k) {
    if (IsNumber(types[k])) {
      sizes[k] = NumberText(args[k], numbers[k]);
      parts[k] = numbers[k];
    } else {
      parts[k] = reinterpret_cast<const char*>(sqlite3_value_text(args[k]));  // before _bytes, as SQLite asks
      sizes[k] = static_cast<size_t>(sqlite3_value_bytes(args[k]));
      if (!parts[k]) sizes[k] = 0;
    }
  }
  const size_t total = sizes[0] + sizes[1];
  char* joined = static_cast<char*>(sqlite3_malloc64(total + 1));
  if (!joined) {
    sqlite3_result_error_nomem(context);
    return;
  }
  if (sizes[0]) std::memcpy(joined, parts[0], sizes[0]);
  if (sizes[1]) std::memcpy(joined + sizes[0], parts[1], sizes[1]);
  joined[total] = '\0';
  sqlite3_result_text64(context, joined, total, sqlite3_free, SQLITE_UTF8);  // SQLite owns it now
}

// A prepared statement kept by the plan cache, with what Execute needs of
// its result columns.
struct CachedStatement {
  StatementPtr statement;
  std::vector<std::string> columns;
  std::vector<bool> dateColumns;
  std::uint64_t lastUse = 0;
};

// Resets a statement on every way out, so that no read transaction stays
// open between statements (the school's own program may want to write).
class ResetOnExit {
 public:
  explicit ResetOnExit(sqlite3_stmt* s) : s_(s) {}
  ~ResetOnExit() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  sqlite3_stmt* s_;
};

class SqliteSession : public Session {
 public:
  SqliteSession(DatabasePtr db, std::string pathText) : db_(std::move(db)), pathText_(std::move(pathText)) {}

  ResultSet Execute(const std::string& sql) override {
    // Most statements hold no "+" at all; they go through without a copy.
    std::string rewritten;
    const bool hasPlus = sql.find('+') != std::string::npos;
    if (hasPlus) rewritten = RewritePlus(sql);
    const std::string& text = hasPlus ? rewritten : sql;

    // The export sends the same few statements over and over with other
    // numbers in them; preparing is most of what each would cost.
    if (ShapeOfStatement(text, shape_)) {
      if (CachedStatement* cached = Cached(sql, shape_.text)) {
        sqlite3_stmt* s = cached->statement.get();
        ResetOnExit reset(s);
        for (size_t k = 0; k < shape_.values.size(); ++k)
          if (sqlite3_bind_int64(s, static_cast<int>(k + 1), shape_.values[k]) != SQLITE_OK) Fail(sql);
        ResultSet result;
        result.columns = cached->columns;
        Fetch(sql, s, cached->dateColumns, result);
        return result;
      }
    }

    StatementPtr statement = Prepare(sql, text);
    ResultSet result;
    if (!statement) return result;  // only blanks or comments
    sqlite3_stmt* s = statement.get();
    std::vector<bool> dateColumns;
    DescribeColumns(s, result.columns, dateColumns);
    Fetch(sql, s, dateColumns, result);
    return result;
  }

 private:
  static constexpr size_t kCacheSize = 32;

  static void DescribeColumns(sqlite3_stmt* s, std::vector<std::string>& names, std::vector<bool>& dates) {
    const int columns = sqlite3_column_count(s);
    names.reserve(static_cast<size_t>(columns));
    dates.resize(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
      const char* name = sqlite3_column_name(s, c);
      names.emplace_back(name ? name : "");
      dates[static_cast<size_t>(c)] = IsDateType(sqlite3_column_decltype(s, c));
    }
  }

  void Fetch(const std::string& sql, sqlite3_stmt* s, const std::vector<bool>& dateColumns, ResultSet& result) const {
    const int columns = static_cast<int>(dateColumns.size());
    result.cells.reserve(dateColumns.size());  // most statements here give one row
    for (;;) {
      const int rc = sqlite3_step(s);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) Fail(sql);
      for (int c = 0; c < columns; ++c) result.cells.push_back(Cell(s, c, dateColumns[static_cast<size_t>(c)]));
    }
  }

  // The cached statement of a shape, prepared on first use; nullptr when the
  // shape cannot be cached (its parameters do not match the lifted numbers).
  CachedStatement* Cached(const std::string& sql, const std::string& shapeText) {
    auto found = cache_.find(shapeText);
    if (found != cache_.end()) {
      found->second.lastUse = ++uses_;
      return &found->second;
    }
    CachedStatement entry;
    entry.statement = Prepare(sql, shapeText, SQLITE_PREPARE_PERSISTENT);
    if (!entry.statement ||
        sqlite3_bind_parameter_count(entry.statement.get()) != static_cast<int>(shape_.values.size()))
      return nullptr;
    DescribeColumns(entry.statement.get(), entry.columns, entry.dateColumns);
    entry.lastUse = ++uses_;
    if (cache_.size() >= kCacheSize) {
      auto oldest = cache_.begin();
      for (auto it = cache_.begin(); it != cache_.end(); ++it)
        if (it->second.lastUse < oldest->second.lastUse) oldest = it;
      cache_.erase(oldest);
    }
    return &cache_.emplace(shapeText, std::move(entry)).first->second;
  }

  [[noreturn]] void Fail(const std::string& sql) const {
    throw Error("The database \"" + pathText_ + "\" could not run the statement \"" + FirstLine(sql) +
                "\": " + sqlite3_errmsg(db_.get()));
  }

  StatementPtr Prepare(const std::string& sql, const std::string& text, unsigned flags = 0) const {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(db_.get(), text.data(), static_cast<int>(text.size()), flags, &raw, &tail);
    StatementPtr statement(raw);
    if (rc != SQLITE_OK) Fail(sql);
    // One statement per call: anything after it must be blanks or comments.
    const char* end = text.data() + text.size();
    if (statement && tail && tail < end) {
      sqlite3_stmt* more = nullptr;
      const int moreRc = sqlite3_prepare_v2(db_.get(), tail, static_cast<int>(end - tail), &more, nullptr);
      StatementPtr second(more);
      if (moreRc != SQLITE_OK || second)
        throw Error("The database \"" + pathText_ + "\" was given more than one statement at once: \"" +
                    FirstLine(sql) + "\".");
    }
    return statement;
  }

  static Value Cell(sqlite3_stmt* s, int c, bool dateColumn) {
    switch (sqlite3_column_type(s, c)) {
      case SQLITE_NULL:
        return Null{};
      case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(s, c));
      case SQLITE_FLOAT:
        return sqlite3_column_double(s, c);
      default: {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
        const std::string_view text(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(s, c)));
        if (dateColumn) {
          DateTime date;
          if (TryParseIsoDateTime(text, date)) return date;
          // Left as text: reading it as a date then names the column and value.
        }
        return std::string(text);
      }
    }
  }

  // Declared first so that the cached statements are finalized before the
  // database is closed.
  DatabasePtr db_;
  std::string pathText_;
  StatementShape shape_;  // reused by every Execute
  std::unordered_map<std::string, CachedStatement> cache_;
  std::uint64_t uses_ = 0;
};

}  // namespace

int RegisterPlusFunction(sqlite3* db) {
  int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
#ifdef SQLITE_INNOCUOUS
  flags |= SQLITE_INNOCUOUS;
#endif
  return sqlite3_create_function_v2(db, kPlusFunction, 2, flags, nullptr, PlusFunction, nullptr, nullptr, nullptr);
}

bool IsSqliteFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  char header[sizeof kHeader];
  if (!in.read(header, sizeof header)) return false;
  return std::memcmp(header, kHeader, sizeof kHeader) == 0;
}

std::unique_ptr<Session> OpenSqliteSession(const std::filesystem::path& path) {
  const std::string shown = PathText(path);
  if (path.empty()) throw Error("No database file is named.");
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status))
    throw Error("The database file \"" + shown + "\" does not exist.");
  if (std::filesystem::is_directory(status))
    throw Error("\"" + shown + "\" is a folder, not a database file.");
  if (std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, ec) == 0 && !ec)
    throw Error("The database file \"" + shown + "\" is empty.");
  if (!IsSqliteFile(path)) throw Error("The file \"" + shown + "\" is not a SQLite database.");

  // An absolute path can never be taken for a "file:" URI, whatever the
  // library's compile-time URI setting.
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  const std::string open = PathText(ec ? path : absolute);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(open.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  DatabasePtr db(raw);
  if (rc != SQLITE_OK)
    throw Error("The database file \"" + shown + "\" cannot be opened: " +
                (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
  sqlite3_busy_timeout(db.get(), 5000);  // the school's own program may be writing

  // The header alone does not prove the file readable; the schema does.
  char* message = nullptr;
  if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string reason = message ? message : sqlite3_errmsg(db.get());
    sqlite3_free(message);
    throw Error("The database file \"" + shown + "\" cannot be read: " + reason);
  }

  if (RegisterPlusFunction(db.get()) != SQLITE_OK)
    throw Error("The database file \"" + shown + "\" cannot be prepared: " + sqlite3_errmsg(db.get()));
  return std::make_unique<SqliteSession>(std::move(db), shown);
}

}  // namespace marksend::db
