// A SQLite database being written, and its prepared statements, as RAII
// handles. Thread rule: one thread at a time per database.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace marksend::sample {

class Statement;

class Database {
 public:
  // Creates the file at path (it must not exist yet); throws Error on failure.
  static Database Create(const std::filesystem::path& path);

  // Runs one or more statements; throws Error with SQLite's message.
  void Exec(std::string_view sql);
  // Prepares one statement on this database; throws Error on failure.
  Statement Prepare(std::string_view sql);
  // Closes the file; throws Error if SQLite cannot close it cleanly.
  void Close();

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  explicit Database(sqlite3* db) : db_(db) {}
  std::unique_ptr<sqlite3, Closer> db_;
};

// One prepared INSERT (or other statement without result rows).
class Statement {
 public:
  // Binds the values to the parameters 1, 2, ... in order, runs the
  // statement and resets it for the next call. nullopt binds NULL.
  template <typename... Values>
  void Run(const Values&... values) {
    int index = 0;
    (Bind(++index, values), ...);
    Step();
  }

 private:
  friend class Database;
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}

  void Bind(int index, std::int64_t value);
  void Bind(int index, int value) { Bind(index, static_cast<std::int64_t>(value)); }
  void Bind(int index, double value);
  void Bind(int index, std::string_view value);
  void Bind(int index, const std::string& value) { Bind(index, std::string_view(value)); }
  void Bind(int index, const char* value) { Bind(index, std::string_view(value)); }
  void Bind(int index, std::nullopt_t);
  template <typename T>
  void Bind(int index, const std::optional<T>& value) {
    if (value)
      Bind(index, *value);
    else
      Bind(index, std::nullopt);
  }
  void Step();

  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

}  // namespace marksend::sample
