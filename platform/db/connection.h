// The one database connection of the program, after the data-access
// component it stands in for: settings, then Open, Close and Connected.
// Thread rule: one thread at a time (the window at start-up, then the export
// worker during a run).
#pragma once

#include <memory>
#include <string>

#include "platform/db/session.h"

namespace marksend::db {

class Connection {
 public:
  // "Access" opens the file named by Database; any other name is SQL Server.
  std::string ProviderName = "SQL Server";
  std::string Server = "(local)";
  std::string Database = "TEV10";
  std::string Username = "sa";
  std::string Password;
  std::string Driver;  // ODBC driver name for SQL Server; empty: the first known one

  // Opens the connection with the settings above; throws Error on failure.
  void Open();
  // Opens the connection over a session made elsewhere (tests wrap one).
  void Open(std::unique_ptr<Session> session);
  void Close();
  bool Connected() const { return session_ != nullptr; }

  // The open session; throws Error when the connection is closed.
  Session& OpenSession();

 private:
  std::unique_ptr<Session> session_;
};

}  // namespace marksend::db
