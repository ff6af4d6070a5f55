// The ODBC provider without a server: the driver rule, the connection string,
// and a connection to an address where nothing listens.
#include <gtest/gtest.h>

#include <functional>

#include "db/odbc_test_helpers.h"
#include "platform/db/odbc_connection_string.h"
#include "platform/db/odbc_provider.h"
#include "platform/error.h"

namespace marksend::db {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(OdbcDriver, SettingFirstThenTheKnownDriversInOrder) {
  struct Case {
    std::string requested;
    std::vector<std::string> installed;
    std::string chosen;
  };
  const Case cases[] = {
      {"",
       {"PostgreSQL Unicode", "FreeTDS", "ODBC Driver 17 for SQL Server"},
       "ODBC Driver 17 for SQL Server"},
      {"",
       {"ODBC Driver 17 for SQL Server", "ODBC Driver 18 for SQL Server"},
       "ODBC Driver 18 for SQL Server"},
      {"", {"SQL Server", "FreeTDS"}, "FreeTDS"},
      {"", {"SQL Server"}, "SQL Server"},
      {"PostgreSQL Unicode", {"FreeTDS", "PostgreSQL Unicode"}, "PostgreSQL Unicode"},
      {" freetds ", {"FreeTDS"}, "FreeTDS"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseOdbcDriver(c.requested, c.installed), c.chosen) << c.requested;
}

TEST(OdbcDriver, MissingDriverIsNamed) {
  const std::string unknown = ErrorOf([] {
    ChooseOdbcDriver("Oracle 7", {"FreeTDS", "PostgreSQL Unicode"});
  });
  EXPECT_NE(unknown.find("\"Oracle 7\""), std::string::npos) << unknown;
  EXPECT_NE(unknown.find("\"FreeTDS\""), std::string::npos) << unknown;

  const std::string none = ErrorOf([] { ChooseOdbcDriver("", {"PostgreSQL Unicode"}); });
  EXPECT_NE(none.find("\"ODBC Driver 18 for SQL Server\""), std::string::npos) << none;
  EXPECT_NE(none.find("\"FreeTDS\""), std::string::npos) << none;

  // Through the driver manager's own list.
  const std::string open = ErrorOf([] {
    OpenOdbcSession({"(local)", "TEV10", "sa", "x", "No Such Driver 9"});
  });
  EXPECT_NE(open.find("\"No Such Driver 9\""), std::string::npos) << open;
}

TEST(OdbcConnectionString, PerDriver) {
  const std::string ms18 = "ODBC Driver 18 for SQL Server", ms17 = "ODBC Driver 17 for SQL Server";
  struct Case {
    ServerSettings settings;
    std::string driver;
    std::string expected;
  };
  const Case cases[] = {
      {{"(local)", "TEV10", "sa", "pw", ""},
       ms18,
       "DRIVER={ODBC Driver 18 for SQL Server};SERVER=(local);DATABASE=TEV10;UID=sa;PWD=pw;"
       "TrustServerCertificate=yes;"},
      {{"SCHOOL\\SQLEXPRESS", "TEV10", "sa", "pw", ""},
       ms17,
       "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SCHOOL\\SQLEXPRESS;DATABASE=TEV10;UID=sa;PWD=pw;"},
      {{"10.0.0.5, 1433", "TEV10", "sa", "pw", ""},
       "SQL Server",
       "DRIVER={SQL Server};SERVER=10.0.0.5,1433;DATABASE=TEV10;UID=sa;PWD=pw;"},
      {{"(local)", "TEV10", "", "", ""},
       ms17,
       "DRIVER={ODBC Driver 17 for SQL Server};SERVER=(local);DATABASE=TEV10;Trusted_Connection=yes;"},
      {{"(local)", "TEV10", "sa", "pw", ""},
       "FreeTDS",
       "DRIVER={FreeTDS};SERVER=127.0.0.1;DATABASE=TEV10;UID=sa;PWD=pw;TDS_Version=7.4;ClientCharset=UTF-8;"},
      {{"(LOCAL)\\SQLEXPRESS", "TEV10", "sa", "pw", ""},
       "FreeTDS",
       "DRIVER={FreeTDS};SERVER=127.0.0.1\\SQLEXPRESS;DATABASE=TEV10;UID=sa;PWD=pw;TDS_Version=7.4;"
       "ClientCharset=UTF-8;"},
      {{"db.school,1500", "TEV10", "sa", "pw", ""},
       "FreeTDS",
       "DRIVER={FreeTDS};SERVER=db.school;PORT=1500;DATABASE=TEV10;UID=sa;PWD=pw;TDS_Version=7.4;"
       "ClientCharset=UTF-8;"},
      {{"127.0.0.1,5433", "school", "tev", "pw", ""},
       "PostgreSQL Unicode",
       "DRIVER={PostgreSQL Unicode};Servername=127.0.0.1;Port=5433;Database=school;UID=tev;PWD=pw;"},
      {{"(local)", "school", "tev", "pw", ""},
       "PostgreSQL ANSI",
       "DRIVER={PostgreSQL ANSI};Servername=127.0.0.1;Database=school;UID=tev;PWD=pw;"},
      // Values that would end or open an attribute go in braces, "}" doubled.
      {{"(local)", "a=b", "s a", "p;w}d{", ""},
       ms17,
       "DRIVER={ODBC Driver 17 for SQL Server};SERVER=(local);DATABASE={a=b};UID=s a;PWD={p;w}}d{};"},
      {{"(local)", "a;b", "s}a", "{pw", ""},
       "FreeTDS",
       "DRIVER={FreeTDS};SERVER=127.0.0.1;DATABASE={a;b};UID=s}a;PWD={{pw};TDS_Version=7.4;ClientCharset=UTF-"
       "8;"},
      {{"(local)", "TEV10", "sa", " pw ", ""},
       ms17,
       "DRIVER={ODBC Driver 17 for SQL Server};SERVER=(local);DATABASE=TEV10;UID=sa;PWD={ pw };"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OdbcConnectionString(c.settings, c.driver), c.expected) << c.settings.server << " " << c.driver;
}

TEST(OdbcSession, ServerThatIsNotThereFailsWithTheDriversReason) {
  const std::string server = "127.0.0.1," + std::to_string(test::FreeLoopbackPort());
  const std::string message = ErrorOf([&] {
    OpenOdbcSession({server, "TEV10", "sa", "Hidden;Secret", "FreeTDS"});
  });
  ASSERT_FALSE(message.empty()) << "connected to " << server;
  EXPECT_NE(message.find("\"" + server + "\""), std::string::npos) << message;
  EXPECT_NE(message.find("\"FreeTDS\""), std::string::npos) << message;
  EXPECT_TRUE(test::HasDiagnostic(message)) << message;
  EXPECT_EQ(message.find("Secret"), std::string::npos) << message;
}

}  // namespace
}  // namespace marksend::db
