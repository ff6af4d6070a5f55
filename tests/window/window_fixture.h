// What the window's tests share: a working folder with Config.ini and a
// SQLite school, dialogs answered from a script, and a database session that
// holds every statement until the test lets it through.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/window/dialogs.h"
#include "platform/db/connection.h"
#include "platform/db/session.h"
#include "support/test_support.h"

namespace marksend::test {

// Each test class of the window is run by the one test program.
int RunControlsTest(int argc, char** argv);
int RunStartUpTest(int argc, char** argv);
int RunExportFlowTest(int argc, char** argv);

// The export fixture's school plus the school record, with both terms
// starting on 1 January, so that every day of a year proposes that year + 543.
std::string SchoolSql();
// The export fixture alone: the school record's tables are missing.
std::string SchoolSqlWithoutSchoolRecord();

// A temporary working folder holding Config.ini (Access provider, the file
// "school.db" beside it) and, unless sql is empty, that database. The
// process's current folder is that folder until the object goes.
class Workspace {
 public:
  explicit Workspace(const std::string& sql);
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path DatabasePath() const { return dir_ / "school.db"; }

 private:
  TempDir dir_;
  QString previous_;
};

// Dialogs whose answers the test gives in advance.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<std::optional<QString>> saveAnswers;  // one per save dialog; none left: cancel
  std::function<void()> duringSave;                // runs while the save dialog is "open"
  std::vector<SaveDialogOptions> saveRequests;
  QStringList informations;
  QStringList errors;

  std::optional<QString> SaveFileName(QWidget* parent, const SaveDialogOptions& options) override;
  void Information(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
};

// Holds every statement that reaches it until Open is called.
class Gate {
 public:
  void Open();
  void Pass();          // waits while the gate is closed
  int Waiting() const;  // statements held right now
  int Arrived() const;  // statements that reached the gate so far

 private:
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
  int waiting_ = 0;
  int arrived_ = 0;
};

// A session that passes each statement through the gate, then runs it on a
// real SQLite connection.
class GatedSession : public db::Session {
 public:
  GatedSession(std::shared_ptr<Gate> gate, const std::filesystem::path& database);
  db::ResultSet Execute(const std::string& sql) override;

 private:
  std::shared_ptr<Gate> gate_;
  db::Connection inner_;
};

// The named child widget; throws when the window has none of that name and kind.
template <typename W>
W* Child(QWidget& window, const char* name) {
  W* child = window.findChild<W*>(QString::fromLatin1(name));
  if (!child) throw std::runtime_error(std::string("no control ") + name);
  return child;
}

// A path as the save dialog gives it, in Qt's "/" form.
QString DialogPath(const std::filesystem::path& path);
// A folder as the window keeps it, with the native separator.
QString NativeFolder(const std::filesystem::path& path);

}  // namespace marksend::test
