#include "window_fixture.h"

#include <QDir>

namespace marksend::test {

std::string SchoolSqlWithoutSchoolRecord() { return ReadFile(SourcePath("tests/export/fixtures/school.sql")); }

std::string SchoolSql() {
  return SchoolSqlWithoutSchoolRecord() +
         "CREATE TABLE ComBTambon (TambonID INTEGER, TambonName TEXT);\n"
         "INSERT INTO ComBTambon VALUES (1, 'ในเมือง');\n"
         "CREATE TABLE ComMSchool (SchoolCode TEXT, SchooPrefix TEXT, SchoolName TEXT, TambonID INTEGER,\n"
         "                         Term1Date DATE, Term2Date DATE);\n"
         "INSERT INTO ComMSchool VALUES ('1001', 'โรงเรียน', 'บ้านทดสอบ', 1, '2015-01-01', '2015-01-01');\n";
}

Workspace::Workspace(const std::string& sql) : previous_(QDir::currentPath()) {
  WriteFile(dir_ / "Config.ini",
            "[Database]\r\nProvider=MSAccess\r\n\r\n[MSAccess]\r\nDatabase File=school.db\r\n");
  if (!sql.empty()) MakeSqliteDatabase(DatabasePath(), sql);
  if (!QDir::setCurrent(QString::fromStdString(dir_.path().string())))
    throw std::runtime_error("cannot enter the working folder");
}

Workspace::~Workspace() { QDir::setCurrent(previous_); }

// GCC 12 at -O2 wrongly warns that the moved optional<QString> may be uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const SaveDialogOptions& options) {
  saveRequests.push_back(options);
  if (duringSave) duringSave();
  if (saveAnswers.empty()) return std::nullopt;
  auto answer = saveAnswers.front();
  saveAnswers.pop_front();
  return answer;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

void ScriptedDialogs::Information(QWidget*, const QString& text) { informations << text; }

void ScriptedDialogs::Error(QWidget*, const QString& text) { errors << text; }

void Gate::Open() {
  std::lock_guard lock(mutex_);
  open_ = true;
  opened_.notify_all();
}

void Gate::Pass() {
  std::unique_lock lock(mutex_);
  ++arrived_;
  ++waiting_;
  opened_.wait(lock, [&] { return open_; });
  --waiting_;
}

int Gate::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

int Gate::Arrived() const {
  std::lock_guard lock(mutex_);
  return arrived_;
}

GatedSession::GatedSession(std::shared_ptr<Gate> gate, const std::filesystem::path& database)
    : gate_(std::move(gate)) {
  inner_.ProviderName = "Access";
  inner_.Database = database.string();
  inner_.Open();
}

db::ResultSet GatedSession::Execute(const std::string& sql) {
  gate_->Pass();
  return inner_.OpenSession().Execute(sql);
}

QString DialogPath(const std::filesystem::path& path) {
  return QDir::fromNativeSeparators(QString::fromStdString(path.string()));
}

QString NativeFolder(const std::filesystem::path& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

}  // namespace marksend::test
