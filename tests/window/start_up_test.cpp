// The window's start: connecting, the proposed year, and the standard error
// box for an error that escapes the creation handler.
#include <QDate>
#include <QDir>
#include <QSpinBox>
#include <QTest>

#include "app/window/form_main.h"
#include "app/window/outline_label.h"
#include "app/window/program_start.h"
#include "window_fixture.h"

namespace marksend::test {

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void formCreate_data() {
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("dbErrorShown");
    QTest::addColumn<bool>("errorBoxShown");
    QTest::addColumn<bool>("yearProposed");
    QTest::newRow("school") << "school" << false << false << true;
    QTest::newRow("no database file") << "" << true << false << false;
    QTest::newRow("school record missing") << "no school record" << false << true << false;
  }
  void formCreate() {
    QFETCH(QString, database);
    QFETCH(bool, dbErrorShown);
    QFETCH(bool, errorBoxShown);
    QFETCH(bool, yearProposed);
    Workspace workspace(database.isEmpty() ? std::string()
                        : database == "school" ? SchoolSql()
                                               : SchoolSqlWithoutSchoolRecord());
    ScriptedDialogs dialogs;
    {
      auto form = CreateMainWindow(dialogs);
      QCOMPARE(FormMain, form.get());
      QVERIFY(form->isVisible());
      QCOMPARE(Child<OutlineLabel>(*form, "LabelDBerror")->isVisible(), dbErrorShown);
      QCOMPARE(form->Connection().Connected(), !dbErrorShown);
      QCOMPARE(dialogs.errors.size(), errorBoxShown ? 1 : 0);
      if (errorBoxShown) QVERIFY(!dialogs.errors.front().isEmpty());
      const QString year = yearProposed ? QString::number(QDate::currentDate().year() + 543) : QStringLiteral("0");
      QCOMPARE(Child<QSpinBox>(*form, "EditYear")->text(), year);
      QCOMPARE(form->DefaultAcademicYearShown(), year.toInt());
      QVERIFY(dialogs.informations.isEmpty());
      if (dbErrorShown) {
        QVERIFY(QDir().mkpath(QStringLiteral(MARKSEND_ARTIFACTS_DIR)));
        QVERIFY(form->grab().save(QStringLiteral(MARKSEND_ARTIFACTS_DIR "/main-window-no-database.png")));
      }

      form->close();
      QVERIFY(!form->Connection().Connected());
    }
    QCOMPARE(FormMain, nullptr);
  }
};

int RunStartUpTest(int argc, char** argv) {
  StartUpTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace marksend::test

#include "start_up_test.moc"
