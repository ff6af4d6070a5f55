// marksend-bench-window: one export with the main window as its host, on
// Qt's offscreen platform, for marksend-bench. Prints its figures the way
// the benchmark's own child measurements do.
//   marksend-bench-window DATABASE OUTPUT-FOLDER YEAR
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/window/dialogs.h"
#include "app/window/form_main.h"
#include "bench/figures.h"
#include "bench/process_memory.h"
#include "platform/error.h"

namespace marksend::bench {
namespace {

namespace fs = std::filesystem;

// The save dialog answers with the output folder; message boxes are kept.
class AnsweringDialogs : public Dialogs {
 public:
  explicit AnsweringDialogs(QString chosen) : chosen_(std::move(chosen)) {}
  std::optional<QString> SaveFileName(QWidget*, const SaveDialogOptions&) override { return chosen_; }
  void Information(QWidget*, const QString& text) override { messages += text + "\n"; }
  void Error(QWidget*, const QString& text) override { messages += text + "\n"; }
  QString messages;

 private:
  QString chosen_;
};

// A working folder whose Config.ini names the database; removed at the end.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& db) : path_(fs::temp_directory_path() / ("marksend-bench-window-" +
                                                                                   std::to_string(::getpid()))) {
    fs::create_directories(path_);
    std::ofstream(path_ / "Config.ini", std::ios::binary)
        << "[Database]\r\nProvider=MSAccess\r\n\r\n[MSAccess]\r\nDatabase File=" << fs::absolute(db).string()
        << "\r\n";
  }
  ~WorkingFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

template <typename W>
W& Control(QWidget& form, const char* name) {
  W* control = form.findChild<W*>(QString::fromLatin1(name));
  if (!control) throw Error(std::string("The window has no control ") + name + ".");
  return *control;
}

int Measure(int argc, char** argv) {
  const fs::path db = argv[1];
  const fs::path out = fs::absolute(argv[2]);
  const int year = std::stoi(argv[3]);
  const WorkingFolder work(db);
  if (!QDir::setCurrent(QString::fromStdString(work.path().string())))
    throw Error("Cannot enter " + work.path().string() + ".");

  QApplication app(argc, argv);
  AnsweringDialogs dialogs(QDir::fromNativeSeparators(QString::fromStdString((out / "tev10xml.xml").string())));
  TFormMain form(dialogs);
  form.show();
  form.FormCreate();
  if (!form.Connection().Connected()) throw Error("The window could not connect to " + db.string() + ".");
  Control<QSpinBox>(form, "EditYear").setValue(year);
  app.processEvents();

  const long before = ResidentKib();
  const double cpuBefore = ProcessorSeconds();
  const auto start = std::chrono::steady_clock::now();
  Control<QToolButton>(form, "BtnExport").click();
  while (form.IsExportRunning()) app.processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = ProcessorSeconds() - cpuBefore;
  if (!dialogs.messages.isEmpty()) throw Error("The window's export failed: " + dialogs.messages.toStdString());
  if (Control<QWidget>(form, "LabelEnd").isHidden()) throw Error("The window's export did not finish.");

  auto text = [](double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    return std::string(buffer);
  };
  PrintFigures({{"seconds", text(seconds)},
                {"cpu_seconds", text(cpu)},
                {"rss_before_kib", std::to_string(before)},
                {"peak_kib", std::to_string(PeakResidentKib())}});
  return 0;
}

}  // namespace
}  // namespace marksend::bench

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: marksend-bench-window DATABASE OUTPUT-FOLDER YEAR\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  try {
    return marksend::bench::Measure(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "marksend-bench-window: %s\n", e.what());
    return 1;
  }
}
