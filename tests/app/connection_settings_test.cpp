#include "app/connection_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "support/test_support.h"

namespace marksend {
namespace {

using test::TempDir;

std::string Utf8(const std::filesystem::path& p) {
  const auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

struct SettingsCase {
  const char* name;
  std::optional<std::string> ini;  // nothing: no Config.ini at all
  const char* provider;
  const char* server;    // "{keep}": left as the connection held it
  const char* database;  // "{wd}" stands for the working directory
  const char* user;
  const char* password;
  const char* driver;
};

const SettingsCase kSettingsCases[] = {
    {"NoConfigFile", std::nullopt, "Access", "{keep}", "{wd}/TEV10DB.mdb", "{keep}", "kel72", "{keep}"},
    {"FullPathUnchanged", "[MSAccess]\nDatabase File=/srv/school/data.mdb\n", "Access", "{keep}",
     "/srv/school/data.mdb", "{keep}", "kel72", "{keep}"},
    {"FolderValueUnchanged", "[MSAccess]\nDatabase File=data/TEV10DB.mdb\n", "Access", "{keep}",
     "data/TEV10DB.mdb", "{keep}", "kel72", "{keep}"},
    // Only the native separator counts; here a backslash is part of a name.
    {"BackslashIsNoSeparator", "[Database]\nProvider=MSAccess\n[MSAccess]\nDatabase File=data\\x.mdb\n",
     "Access", "{keep}", "{wd}/data\\x.mdb", "{keep}", "kel72", "{keep}"},
    {"EmptyFileName", "[MSAccess]\nDatabase File=\n", "Access", "{keep}", "{wd}/", "{keep}", "kel72", "{keep}"},
    {"AccessPasswordIgnored", "[MSAccess]\nPassword=secret\nDatabase File=a.mdb\n", "Access", "{keep}",
     "{wd}/a.mdb", "{keep}", "kel72", "{keep}"},
    {"LowerCaseProvider",
     "[Database]\nProvider=msaccess\n[MSSQL]\nDatabase Server=db1\nDatabase Name=School\nUser ID=u\n"
     "Password=p\n",
     "SQL Server", "db1", "School", "u", "p", ""},
    {"EmptyProvider", "[Database]\nProvider=\n[MSAccess]\nDatabase File=a.mdb\n", "SQL Server", "(local)",
     "TEV10", "sa", "kel72", ""},
    {"OtherProviderNoSection", "[Database]\nProvider=Oracle\n", "SQL Server", "(local)", "TEV10", "sa", "kel72",
     ""},
    {"EmptySqlServerPassword", "[Database]\nProvider=MSSQL\n[MSSQL]\nPassword=\n", "SQL Server", "(local)",
     "TEV10", "sa", "", ""},
    {"DriverKey", "[Database]\nProvider=MSSQL\n[MSSQL]\nDriver=FreeTDS\n", "SQL Server", "(local)", "TEV10",
     "sa", "kel72", "FreeTDS"},
};

void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }

class SettingsTable : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsTable, SetsTheConnection) {
  const SettingsCase& c = GetParam();
  TempDir wd;
  if (c.ini) test::WriteFile(wd / "Config.ini", *c.ini);

  db::Connection connection;
  connection.Server = "kept server";
  connection.Username = "kept user";
  connection.Driver = "kept driver";
  LoadConnectionSettings(connection, wd.path());

  const auto expect = [&](const char* want, const std::string& keep) {
    std::string text = want;
    if (text == "{keep}") return keep;
    if (text.starts_with("{wd}")) text.replace(0, 4, Utf8(wd.path()));
    return text;
  };
  EXPECT_EQ(connection.ProviderName, c.provider);
  EXPECT_EQ(connection.Server, expect(c.server, "kept server"));
  EXPECT_EQ(connection.Database, expect(c.database, ""));
  EXPECT_EQ(connection.Username, expect(c.user, "kept user"));
  EXPECT_EQ(connection.Password, c.password);
  EXPECT_EQ(connection.Driver, expect(c.driver, "kept driver"));
}

INSTANTIATE_TEST_SUITE_P(ConfigIni, SettingsTable, ::testing::ValuesIn(kSettingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConnectDatabase, OpensADatabaseFileInAThaiFolder) {
  TempDir root;
  const std::filesystem::path wd = root.path() / std::filesystem::path(u8"โรงเรียน");
  std::filesystem::create_directory(wd);
  test::MakeSqliteDatabase(wd / "TEV10DB.mdb", "CREATE TABLE t (x INTEGER);");

  db::Connection connection;
  EXPECT_EQ(ConnectDatabase(connection, wd), std::nullopt);
  EXPECT_TRUE(connection.Connected());
  EXPECT_EQ(connection.Database, Utf8(wd) + "/TEV10DB.mdb");
  DisconnectDatabase(connection);
  EXPECT_FALSE(connection.Connected());
}

TEST(ConnectDatabase, ReportsAFailureAndClosesTheEarlierConnection) {
  TempDir wd;
  test::MakeSqliteDatabase(wd / "TEV10DB.mdb", "CREATE TABLE t (x INTEGER);");
  db::Connection connection;
  ASSERT_EQ(ConnectDatabase(connection, wd.path()), std::nullopt);

  test::WriteFile(wd / "Config.ini", "[MSAccess]\nDatabase File=missing.mdb\n");
  const auto failure = ConnectDatabase(connection, wd.path());
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->find("missing.mdb"), std::string::npos) << *failure;
  EXPECT_FALSE(connection.Connected());
}

TEST(ConnectDatabase, AnEmptyFileNameFailsToOpen) {
  TempDir wd;
  test::WriteFile(wd / "Config.ini", "[MSAccess]\nDatabase File=\n");
  db::Connection connection;
  EXPECT_TRUE(ConnectDatabase(connection, wd.path()).has_value());
  EXPECT_FALSE(connection.Connected());
}

}  // namespace
}  // namespace marksend
