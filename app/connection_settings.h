// Config.ini and the one database connection: the settings it gives the
// connection, opening it at start-up and closing it at the end. Used by both
// the window and the headless tool. Thread rule: the caller's thread only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/db/connection.h"

namespace marksend {

// The native path separator ("\" on Windows, "/" elsewhere).
char NativeSeparator();

// Reads workingDir/Config.ini and sets provider, server, database, user name,
// password and driver on the connection. Errors propagate.
void LoadConnectionSettings(db::Connection& connection, const std::filesystem::path& workingDir);

// Closes the connection if open, loads the settings (errors propagate), then
// opens it. A failure to open is caught: its text is returned (the window
// drops it and shows LabelDBerror). Returns nothing when the connection is open.
std::optional<std::string> ConnectDatabase(db::Connection& connection,
                                           const std::filesystem::path& workingDir);

// Closes the connection if it is open.
void DisconnectDatabase(db::Connection& connection);

}  // namespace marksend
