// marksend-export: the headless twin of the window. Reads Config.ini from the
// working directory, connects, and runs the export engine on its worker
// thread into an existing folder, or prints the default academic year.
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "app/connection_settings.h"
#include "app/school_record.h"
#include "cli/arguments.h"
#include "cli/console_host.h"
#include "cli/interrupt.h"
#include "export/export_thread.h"
#include "platform/db/connection.h"
#include "platform/db/query.h"

namespace marksend::cli {

namespace {

constexpr int kDone = 0;
constexpr int kExportFailed = 1;
constexpr int kNoConnection = 2;
constexpr int kStopped = 130;  // as a shell reports a program ended by Ctrl-C
constexpr int kBadArguments = 64;

constexpr const char* kNoConnectionCaption = "ไม่สามารถติดต่อฐานข้อมูลได้";
constexpr const char* kSuccessCaption = "ส่งออกข้อมูลผลการเรียนขึ้นเว็บไซต์สำเร็จ";

void Complain(const std::string& message) { std::cerr << "marksend-export: " << message << '\n'; }

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

// Runs the engine on its worker and waits for it to clear the running flag.
int RunExport(db::Connection& connection, const std::string& folder, const std::string& year) {
  // Like a folder picked in the save dialog: it must be there already.
  std::error_code ec;
  const std::filesystem::path path(reinterpret_cast<const char8_t*>(folder.c_str()));
  if (!std::filesystem::is_directory(path, ec)) {
    Complain("the output folder " + folder + " does not exist; no file was written.");
    return kExportFailed;
  }

  ConsoleHost host(folder, year, StderrIsTerminal());
  CatchInterrupts();
  const auto start = std::chrono::steady_clock::now();
  TExportThread::Start(std::make_unique<TExportThread>(host, connection));
  host.WaitCleared();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  if (host.Failure()) {
    Complain(*host.Failure());
    return kExportFailed;
  }
  if (!host.Finished()) {
    Complain("the export was stopped; the files it had not come to were left as they were.");
    return kStopped;
  }
  const auto& counts = host.Summary();
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", elapsed.count());
  std::cout << kSuccessCaption << '\n'
            << "students: " << counts.students << ", score rows: " << counts.scoreRows
            << ", subjects: " << counts.subjects << ", seconds: " << seconds << '\n';
  return kDone;
}

int Main(int argc, const char* const argv[]) {
  Arguments args;
  try {
    args = ParseArguments(argc, argv);
  } catch (const UsageError& e) {
    Complain(e.what());
    std::cerr << kUsage;
    return kBadArguments;
  }
  if (args.mode == Arguments::Mode::Help) {
    std::cout << kUsage;
    return kDone;
  }

  db::Connection connection;
  std::optional<std::string> failure;
  try {
    failure = ConnectDatabase(connection, std::filesystem::current_path());
  } catch (const std::exception& e) {
    failure = e.what();  // the settings themselves could not be read
  }
  if (failure) {
    std::cerr << kNoConnectionCaption << '\n' << *failure << '\n';
    return kNoConnection;
  }

  std::string year;
  if (args.year) {
    year = *args.year;
  } else {
    try {
      db::Query querySchool(connection);
      year = std::to_string(LoadSchoolRecord(querySchool, args.date.value_or(Today())));
    } catch (const std::exception& e) {
      Complain(std::string("cannot read the school record: ") + e.what());
      return kExportFailed;
    }
  }

  int code = kDone;
  if (args.mode == Arguments::Mode::PrintYear) std::cout << year << '\n';
  else code = RunExport(connection, args.outFolder, year);
  DisconnectDatabase(connection);
  return code;
}

}  // namespace

}  // namespace marksend::cli

int main(int argc, char* argv[]) {
  try {
    return marksend::cli::Main(argc, argv);
  } catch (const std::exception& e) {
    marksend::cli::Complain(e.what());
    return 1;
  }
}
