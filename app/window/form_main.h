// TFormMain: the program's one main window (FormMain). It connects at
// start-up, proposes the academic year, starts one export worker at a time
// and is that worker's host. Thread rule: the window's thread only; the
// worker reaches it through WindowExportHost.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "platform/db/connection.h"
#include "platform/db/query.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QToolButton;

namespace marksend {

class Dialogs;
class OutlineLabel;
class PercentBar;
class WindowExportHost;

class TFormMain : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and its controls; dialogs must outlive the window.
  explicit TFormMain(Dialogs& dialogs, QWidget* parent = nullptr);
  // Stops and waits for a run still under way before the connection goes.
  ~TFormMain() override;

  // The creation handler: connect (or show LabelDBerror), load the school
  // record when connected, put the default year into EditYear. Errors of the
  // settings or of the school record propagate to the caller.
  void FormCreate();

  // Window state, for the program's own checks.
  db::Connection& Connection() { return DBConnection; }
  bool IsExportRunning() const { return ExportRunning; }
  QString CurrentOutputFolder() const { return OutputFolder; }
  int DefaultAcademicYearShown() const { return DefaultYear; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void BtnExportClick();

 private:
  friend class WindowExportHost;

  void BuildControls();
  void StartExport();
  void FormClose();
  // Asks a run under way to stop and serves its calls until it has ended.
  void StopExportAndWait();

  Dialogs& dialogs_;
  db::Connection DBConnection;
  db::Query QuerySchool{DBConnection};
  std::unique_ptr<WindowExportHost> host_;
  QString OutputFolder;
  bool ExportRunning = false;
  int DefaultYear = 0;
  bool closing_ = false;

  // Owned by the window through Qt's parent chain.
  QFrame* PanelTop = nullptr;
  QFrame* PanelMain = nullptr;
  QFrame* Bevel1 = nullptr;
  QFrame* Bevel2 = nullptr;
  OutlineLabel* fcLabel1 = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* EditYear = nullptr;
  QToolButton* BtnExport = nullptr;
  PercentBar* ProgressBar = nullptr;
  QLabel* LabelRecNo = nullptr;
  QLabel* LabelRNo = nullptr;
  OutlineLabel* LabelDBerror = nullptr;
  OutlineLabel* LabelStart = nullptr;
  OutlineLabel* LabelEnd = nullptr;
  QPlainTextEdit* Minput = nullptr;
  QPlainTextEdit* Mgradeviewer = nullptr;
};

// The one main window, set while it exists.
extern TFormMain* FormMain;

}  // namespace marksend
