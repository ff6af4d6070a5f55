#include "sample/sqlite_db.h"

#include "platform/error.h"

namespace marksend::sample {

namespace {

void Check(sqlite3* db, int rc, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE)
    throw Error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

}  // namespace

Database Database::Create(const std::filesystem::path& path) {
  sqlite3* raw = nullptr;
  const std::string name = path.string();
  const int rc = sqlite3_open_v2(name.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Database db(raw);  // owns the handle even when opening failed
  if (rc != SQLITE_OK)
    throw Error("Cannot create the database file \"" + name + "\": " +
                (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
  return db;
}

void Database::Exec(std::string_view sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_.get(), std::string(sql).c_str(), nullptr, nullptr, &message);
  const std::string text = message ? message : "";
  sqlite3_free(message);
  if (rc != SQLITE_OK) throw Error("SQL failed while writing the sample database: " + text);
}

Statement Database::Prepare(std::string_view sql) {
  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
  Statement statement(raw);
  Check(db_.get(), rc, "Cannot prepare a statement of the sample database");
  return statement;
}

void Database::Close() {
  sqlite3* raw = db_.release();
  const int rc = sqlite3_close(raw);
  if (rc != SQLITE_OK) {
    db_.reset(raw);
    Check(raw, rc, "Cannot close the sample database");
  }
}

void Statement::Bind(int index, std::int64_t value) {
  Check(sqlite3_db_handle(statement_.get()), sqlite3_bind_int64(statement_.get(), index, value), "bind");
}

void Statement::Bind(int index, double value) {
  Check(sqlite3_db_handle(statement_.get()), sqlite3_bind_double(statement_.get(), index, value), "bind");
}

void Statement::Bind(int index, std::string_view value) {
  Check(sqlite3_db_handle(statement_.get()),
        sqlite3_bind_text(statement_.get(), index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT),
        "bind");
}

void Statement::Bind(int index, std::nullopt_t) {
  Check(sqlite3_db_handle(statement_.get()), sqlite3_bind_null(statement_.get(), index), "bind");
}

void Statement::Step() {
  sqlite3* db = sqlite3_db_handle(statement_.get());
  const int rc = sqlite3_step(statement_.get());
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
  if (rc != SQLITE_DONE) Check(db, rc, "Cannot write a row of the sample database");
}

}  // namespace marksend::sample
