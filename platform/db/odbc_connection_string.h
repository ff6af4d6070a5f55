// The pure half of the ODBC provider: which driver to use and the DSN-less
// connection string for it, kept apart so they can be checked without a
// server. Pure functions; thread-safe.
#pragma once

#include <string>
#include <vector>

#include "platform/db/odbc_provider.h"

namespace marksend::db {

// The drivers tried in turn when the settings name none.
extern const std::vector<std::string> kKnownSqlServerDrivers;

// The requested driver when installed (spelt as installed), else the first
// installed of the known ones. Throws Error naming the requested driver, or
// the known ones, when none of them is installed.
std::string ChooseOdbcDriver(const std::string& requested, const std::vector<std::string>& installed);

// One attribute value as a connection string carries it: as is when plain,
// else inside braces with every "}" doubled.
std::string OdbcAttributeValue(const std::string& value);

// The connection string for driver: "(local)" becomes this machine's address
// for drivers that do not know it, "host,port" becomes the keys the driver
// reads, and the password is part of it (never show the result to a person).
std::string OdbcConnectionString(const ServerSettings& settings, const std::string& driver);

}  // namespace marksend::db
