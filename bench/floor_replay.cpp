#include "bench/floor_replay.h"

#include <sqlite3.h>

#include <chrono>
#include <memory>

#include "platform/db/plus_rewrite.h"
#include "platform/db/sqlite_provider.h"
#include "platform/error.h"

namespace marksend::bench {

namespace {

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

}  // namespace

double ReplayStatements(const std::filesystem::path& database, const std::vector<std::string>& statements) {
  const std::string path = std::filesystem::absolute(database).string();
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
  if (rc != SQLITE_OK) throw Error("Cannot open " + path + " for the floor run.");
  sqlite3_busy_timeout(db.get(), 5000);
  if (db::RegisterPlusFunction(db.get()) != SQLITE_OK)
    throw Error("Cannot register ms_plus: " + std::string(sqlite3_errmsg(db.get())));

  const auto start = std::chrono::steady_clock::now();
  std::string rewritten;
  for (const std::string& sql : statements) {
    const bool hasPlus = sql.find('+') != std::string::npos;
    if (hasPlus) rewritten = db::RewritePlus(sql);
    const std::string& text = hasPlus ? rewritten : sql;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db.get(), text.data(), static_cast<int>(text.size()), &s, nullptr) != SQLITE_OK)
      throw Error("The floor run could not prepare a statement: " + std::string(sqlite3_errmsg(db.get())));
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement(s);
    int step;
    while ((step = sqlite3_step(s)) == SQLITE_ROW) {
    }
    if (step != SQLITE_DONE)
      throw Error("The floor run could not run a statement: " + std::string(sqlite3_errmsg(db.get())));
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace marksend::bench
