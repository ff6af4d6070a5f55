// A throwaway PostgreSQL server for the tests that read a real server over
// ODBC: its own cluster in a temporary folder, on a free loopback port,
// stopped when the object goes. Used from one thread.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "db/odbc_test_helpers.h"
#include "support/test_support.h"

namespace marksend::test {

// The newest installed PostgreSQL server's bin folder, if any.
inline std::optional<std::filesystem::path> PostgresBin() {
  std::optional<std::filesystem::path> best;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
    const auto bin = entry.path() / "bin";
    if (std::filesystem::exists(bin / "initdb") && std::filesystem::exists(bin / "pg_ctl") &&
        (!best ||
         std::stoi(entry.path().filename().string()) > std::stoi(best->parent_path().filename().string())))
      best = bin;
  }
  return best;
}

class PostgresCluster {
 public:
  // Creates and starts a cluster in dir whose one account is user/password
  // over TCP (and trusted over the folder's own socket). Throws with the
  // server's log when it cannot start.
  PostgresCluster(std::filesystem::path bin, const std::filesystem::path& dir, const std::string& user,
                  const std::string& password)
      : bin_(std::move(bin)), dir_(dir), user_(user), port_(FreeLoopbackPort()) {
    // The server refuses to run as root; it runs as the postgres account then.
    if (geteuid() == 0) {
      asUser_ = "runuser -u postgres -- ";
      Must("chown postgres: '" + dir_.string() + "'", false);
    }
    WriteFile(dir_ / "password", password + "\n");
    Must("'" + (bin_ / "initdb").string() + "' -D data -U " + user_ +
             " --pwfile=password -A scram-sha-256 --auth-local=trust -E UTF8 --no-locale",
         true);
    started_ = true;  // from here on stopped in any case, even if start gives up half-way
    try {
      Must("'" + (bin_ / "pg_ctl").string() + "' -D data -l server.log -w -t 60 -o \"-p " +
               std::to_string(port_) + " -k '" + dir_.string() + "' -c listen_addresses=127.0.0.1\" start",
           true);
    } catch (...) {
      Stop();
      throw;
    }
  }
  ~PostgresCluster() { Stop(); }
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

  int port() const { return port_; }

  // Runs SQL text (many statements) through psql over the local socket;
  // throws with psql's message on the first error.
  void Sql(const std::string& database, const std::string& sql) {
    WriteFile(dir_ / "statements.sql", sql);
    Must("psql -X -q -v ON_ERROR_STOP=1 -h '" + dir_.string() + "' -p " + std::to_string(port_) + " -U " +
             user_ + " -d '" + database + "' -f statements.sql",
         false);
  }

 private:
  void Stop() {
    if (started_) Run(asUser_ + "'" + (bin_ / "pg_ctl").string() + "' -D data -m immediate -w stop", dir_);
    started_ = false;
  }

  void Must(const std::string& command, bool asServerUser) {
    const auto result = Run((asServerUser ? asUser_ : std::string()) + command, dir_);
    if (result.exitCode != 0) {
      std::string log;
      if (std::filesystem::exists(dir_ / "server.log")) log = ReadFile(dir_ / "server.log");
      throw std::runtime_error(command + " failed: " + result.out + result.err + log);
    }
  }

  std::filesystem::path bin_;
  std::filesystem::path dir_;
  std::string user_;
  int port_;
  std::string asUser_;
  bool started_ = false;
};

}  // namespace marksend::test
