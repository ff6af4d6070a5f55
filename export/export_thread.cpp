#include "export/export_thread.h"

#include <thread>

#include "platform/error.h"
#include "platform/text_file_writer.h"
#include "web/page_texts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace marksend {

namespace {

// One priority step below normal for the calling thread only.
void LowerThreadPriority() {
#ifdef _WIN32
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
  // On Linux each thread has its own nice value, addressed by its thread id.
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, tid);
  if (errno == 0) setpriority(PRIO_PROCESS, tid, nice + 1);
#endif
}

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

TExportThread::TExportThread(ExportHost& host, db::Connection& connection)
    : host_(host), connection_(connection) {}

TExportThread::~TExportThread() = default;

void TExportThread::Start(std::unique_ptr<TExportThread> thread) {
  ExportHost& host = thread->host_;
  try {
    std::thread([self = std::move(thread)]() mutable {
      LowerThreadPriority();
      self->Execute();
      self.reset();  // frees itself when its body has ended
    }).detach();
  } catch (const std::system_error& e) {
    // No thread could be made: the run fails before it began.
    host.ReportFailure(std::string("The export could not be started: ") + e.what());
    host.ClearRunning();
  }
}

void TExportThread::Execute() {
  try {
    OutputFolder = host_.OutputFolder();
    StudentQuery = std::make_unique<db::Query>(connection_);
    GroupGpaQuery = std::make_unique<db::Query>(connection_);
    TermQuery = std::make_unique<db::Query>(connection_);
    TermGpaQuery = std::make_unique<db::Query>(connection_);
    ScoreQuery = std::make_unique<db::Query>(connection_);
    SubjectQuery = std::make_unique<db::Query>(connection_);
    RegradeQuery = std::make_unique<db::Query>(connection_);
    RunExport();
  } catch (const ExportStopped&) {
    // Asked to stop: nothing more is written and nothing is reported.
  } catch (const std::exception& e) {
    host_.ReportFailure(e.what());
  } catch (...) {
    host_.ReportFailure("The export failed with an unknown error.");
  }
  StudentQuery.reset();
  GroupGpaQuery.reset();
  TermQuery.reset();
  TermGpaQuery.reset();
  ScoreQuery.reset();
  SubjectQuery.reset();
  RegradeQuery.reset();
  host_.ClearRunning();
}

void TExportThread::RunExport() {
  StudentCount = ScoreRowCount = SubjectCount = 0;
  WriteSubjectCatalogue();
  WriteStudentResults();
  WritePage(PageId::Input, "input.php");
  WritePage(PageId::GradeViewer, "gradeviewer.php");
  host_.Summarize(StudentCount, ScoreRowCount, SubjectCount);
  host_.ShowFinished();
}

std::filesystem::path TExportThread::FilePath(const char* name) const {
  const std::string path = OutputFolder + kSeparator + name;
  return std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str()));
}

void TExportThread::CheckStop() const {
  if (host_.StopRequested()) throw ExportStopped();
}

void TExportThread::SaveFile(const char* name, const std::vector<std::string>& lines) {
  CheckStop();
  if (!rulesWritten_) {
    // The documents must never be downloadable, so the rules go in before
    // them; Apache reads a byte-order mark as part of the first directive.
    WriteTextFile(FilePath(".htaccess"), web::SplitLines(web::HtaccessFile()), ByteOrderMark::Omit);
    rulesWritten_ = true;
  }
  WriteTextFile(FilePath(name), lines);
}

void TExportThread::WritePage(PageId page, const char* name) {
  SaveFile(name, web::SplitLines(host_.PageText(page)));
}

}  // namespace marksend
