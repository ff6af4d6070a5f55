// The export as the user drives it from the window: the save dialog and the
// state labels, a completed and a failed run, clicks during a run, and
// closing the window while a run is under way.
#include <QDir>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/window/form_main.h"
#include "app/window/outline_label.h"
#include "app/window/percent_bar.h"
#include "app/window/program_start.h"
#include "web/page_texts.h"
#include "window_fixture.h"

namespace marksend::test {

namespace {

constexpr int kRunTimeoutMs = 60000;  // an upper bound only; a run of the fixture takes a moment

QStringList FilesIn(const std::filesystem::path& folder) {
  QStringList names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names << QString::fromStdString(entry.path().filename().string());
  names.sort();
  return names;
}

std::string ExpectedFile(const std::string& relative) {
  return ExpectedFileBytes(web::SplitLines(ReadFile(SourcePath(relative))));
}

const QString kStillRunning = QStringLiteral("This thread is still running.  You are going to hurt yourself!");

}  // namespace

class ExportFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(MARKSEND_ARTIFACTS_DIR))); }

  void init() {
    workspace = std::make_unique<Workspace>(SchoolSql());
    dialogs = std::make_unique<ScriptedDialogs>();
    form = CreateMainWindow(*dialogs);
    QVERIFY(form->Connection().Connected());
    Child<QSpinBox>(*form, "EditYear")->setValue(2566);
    out = std::make_unique<TempDir>();
  }
  void cleanup() {
    form.reset();
    dialogs.reset();
    out.reset();
    workspace.reset();
  }

  void cancelPutsTheLabelsBack_data() {
    QTest::addColumn<bool>("startShown");
    QTest::addColumn<bool>("endShown");
    QTest::newRow("before any export") << false << false;
    QTest::newRow("after a completed export") << false << true;
    QTest::newRow("after a failed export") << true << false;
  }
  void cancelPutsTheLabelsBack() {
    QFETCH(bool, startShown);
    QFETCH(bool, endShown);
    Label("LabelStart")->setVisible(startShown);
    Label("LabelEnd")->setVisible(endShown);
    bool startDuringDialog = false, endDuringDialog = true;
    dialogs->duringSave = [&] {
      startDuringDialog = Label("LabelStart")->isVisible();
      endDuringDialog = Label("LabelEnd")->isVisible();
    };
    Click();
    QCOMPARE(dialogs->saveRequests.size(), size_t{1});
    QVERIFY(startDuringDialog);
    QVERIFY(!endDuringDialog);
    QCOMPARE(Label("LabelStart")->isVisible(), startShown);
    QCOMPARE(Label("LabelEnd")->isVisible(), endShown);
    QVERIFY(!form->IsExportRunning());
    QVERIFY(form->CurrentOutputFolder().isEmpty());
  }

  void completedRunWritesTheSite() {
    dialogs->saveAnswers.push_back(DialogPath(*out / "results.xml"));
    Click();
    QVERIFY(form->IsExportRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!form->IsExportRunning(), kRunTimeoutMs);

    QCOMPARE(dialogs->saveRequests.size(), size_t{1});
    const SaveDialogOptions& asked = dialogs->saveRequests.front();
    QCOMPARE(asked.title, QString::fromUtf8("ส่งออกข้อมูล"));
    QCOMPARE(asked.fileName, QStringLiteral("tev10xml.xml"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("xml"));
    QCOMPARE(asked.filter, QStringLiteral("XML file (*.xml)"));
    QCOMPARE(form->CurrentOutputFolder(), NativeFolder(out->path()));

    QCOMPARE(dialogs->errors, QStringList());
    QCOMPARE(FilesIn(out->path()), (QStringList{".htaccess", "gradeviewer.php", "input.php", "subjectxml.xml",
                                                "tev10xml.xml"}));
    QCOMPARE(ReadFile(*out / "input.php"), ExpectedFileBytes(web::SplitLines(web::InputPage())));
    QCOMPARE(ReadFile(*out / "gradeviewer.php"), ExpectedFileBytes(web::SplitLines(web::GradeViewerPage())));
    QCOMPARE(ReadFile(*out / "tev10xml.xml"), ExpectedFile("tests/export/fixtures/tev10xml.expected"));
    QCOMPARE(ReadFile(*out / "subjectxml.xml"), ExpectedFile("tests/export/fixtures/subjectxml.expected"));

    QVERIFY(!Label("LabelStart")->isVisible());
    QVERIFY(Label("LabelEnd")->isVisible());
    auto* bar = Child<PercentBar>(*form, "ProgressBar");
    QCOMPARE(bar->maximum(), 4);  // the fixture's students of 2566
    QCOMPARE(bar->position(), bar->maximum());
    QCOMPARE(Child<QLabel>(*form, "LabelRNo")->text(), QStringLiteral("5"));  // and their score rows

    QVERIFY(form->grab().save(QStringLiteral(MARKSEND_ARTIFACTS_DIR "/main-window.png")));
  }

  void failedRunIsReported() {
    const TempDir parent;
    dialogs->saveAnswers.push_back(DialogPath(parent / "missing" / "tev10xml.xml"));
    Click();
    QTRY_VERIFY_WITH_TIMEOUT(!form->IsExportRunning(), kRunTimeoutMs);
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(!dialogs->errors.front().isEmpty());
    QVERIFY(!Label("LabelStart")->isVisible());
    QVERIFY(!Label("LabelEnd")->isVisible());
    QCOMPARE(FilesIn(parent.path()), QStringList());

    // Another export can start at once.
    dialogs->saveAnswers.push_back(DialogPath(*out / "tev10xml.xml"));
    Click();
    QTRY_VERIFY_WITH_TIMEOUT(!form->IsExportRunning(), kRunTimeoutMs);
    QCOMPARE(dialogs->errors.size(), 1);
    QVERIFY(Label("LabelEnd")->isVisible());
    QVERIFY(std::filesystem::exists(*out / "tev10xml.xml"));
  }

  void clicksDuringARunStartNoSecondWorker() {
    const auto gate = GateTheConnection();
    const TempDir second, third;
    dialogs->saveAnswers = {DialogPath(*out / "tev10xml.xml"), DialogPath(second / "tev10xml.xml"),
                            DialogPath(third / "tev10xml.xml")};
    Click();
    QTRY_COMPARE_WITH_TIMEOUT(gate->Waiting(), 1, kRunTimeoutMs);

    Click();
    QCOMPARE(dialogs->informations, QStringList{kStillRunning});
    QCOMPARE(form->CurrentOutputFolder(), NativeFolder(second.path()));
    Label("LabelStart")->hide();
    Click();
    QCOMPARE(dialogs->informations, (QStringList{kStillRunning, kStillRunning}));
    QCOMPARE(form->CurrentOutputFolder(), NativeFolder(third.path()));
    QVERIFY(Label("LabelStart")->isVisible());
    QCOMPARE(dialogs->saveRequests.size(), size_t{3});
    QCOMPARE(gate->Arrived(), 1);
    QVERIFY(form->grab().save(QStringLiteral(MARKSEND_ARTIFACTS_DIR "/main-window-running.png")));

    gate->Open();
    QTRY_VERIFY_WITH_TIMEOUT(!form->IsExportRunning(), kRunTimeoutMs);
    QCOMPARE(dialogs->errors, QStringList());
    QVERIFY(Label("LabelEnd")->isVisible());
    // The running worker kept the folder it started with.
    QVERIFY(std::filesystem::exists(*out / "tev10xml.xml"));
    QCOMPARE(FilesIn(second.path()), QStringList());
    QCOMPARE(FilesIn(third.path()), QStringList());
  }

  void closingDuringARunStopsItAndKeepsTheOldFiles() {
    const QStringList planted{"input.php", "subjectxml.xml", "tev10xml.xml"};
    for (const QString& name : planted) WriteFile(*out / name.toStdString(), "old " + name.toStdString());
    const auto gate = GateTheConnection();
    dialogs->saveAnswers.push_back(DialogPath(*out / "tev10xml.xml"));
    Click();
    QTRY_COMPARE_WITH_TIMEOUT(gate->Waiting(), 1, kRunTimeoutMs);

    // Let the held statement through once the window has begun to close.
    QTimer::singleShot(0, [gate] { gate->Open(); });
    QVERIFY(form->close());
    QVERIFY(!form->IsExportRunning());
    QVERIFY(!form->Connection().Connected());
    QVERIFY(gate->Arrived() >= 1);
    QCOMPARE(dialogs->errors, QStringList());
    QVERIFY(!Label("LabelEnd")->isVisible());
    QCOMPARE(FilesIn(out->path()), planted);
    for (const QString& name : planted) QCOMPARE(ReadFile(*out / name.toStdString()), "old " + name.toStdString());
  }

 private:
  OutlineLabel* Label(const char* name) { return Child<OutlineLabel>(*form, name); }
  void Click() { QTest::mouseClick(Child<QToolButton>(*form, "BtnExport"), Qt::LeftButton); }

  // Reopens the window's connection over a session that holds every statement.
  std::shared_ptr<Gate> GateTheConnection() {
    auto gate = std::make_shared<Gate>();
    form->Connection().Close();
    form->Connection().Open(std::make_unique<GatedSession>(gate, workspace->DatabasePath()));
    return gate;
  }

  std::unique_ptr<Workspace> workspace;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<TFormMain> form;
  std::unique_ptr<TempDir> out;
};

int RunExportFlowTest(int argc, char** argv) {
  ExportFlowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace marksend::test

#include "export_flow_test.moc"
