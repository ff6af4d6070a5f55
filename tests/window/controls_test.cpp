// The main window as created: its controls, the window itself, the progress
// bar's number, the folder rule and the real save dialog's settings.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "app/window/form_main.h"
#include "app/window/outline_label.h"
#include "app/window/output_folder.h"
#include "app/window/percent_bar.h"
#include "web/page_texts.h"
#include "window_fixture.h"

namespace marksend::test {

namespace {

QString CaptionOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* label = qobject_cast<OutlineLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) return spin->text();
  if (auto* bar = qobject_cast<PercentBar*>(widget)) return QString::number(bar->percent());
  return {};
}

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    form = std::make_unique<TFormMain>(dialogs);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  }
  void cleanup() { form.reset(); }

  void controlsAsCreated_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("pixelSize");
    auto row = [](const char* name, const char* parent, QRect geometry, const char* caption, bool visible,
                  int pixelSize) {
      QTest::newRow(name) << QString::fromLatin1(parent) << geometry << QString::fromUtf8(caption) << visible
                          << pixelSize;
    };
    row("PanelTop", "FormMain", {0, 0, 511, 89}, "", true, 11);
    row("PanelMain", "FormMain", {0, 89, 511, 86}, "", true, 11);
    row("Bevel1", "PanelTop", {8, 4, 372, 25}, "", true, 11);
    row("fcLabel1", "PanelTop", {22, 6, 208, 21}, "ส่งออกข้อมูลคะแนนขึ้นเว็บไซต์", true, 16);
    row("Label1", "PanelTop", {260, 9, 51, 13}, "ปีการศึกษา", true, 11);
    row("EditYear", "PanelTop", {314, 6, 60, 21}, "0", true, 11);
    row("BtnExport", "PanelTop", {386, 9, 113, 57}, "ส่งออกข้อมูล", true, 13);
    row("ProgressBar", "PanelTop", {8, 35, 372, 32}, "0", true, 11);
    row("LabelRecNo", "PanelTop", {8, 69, 39, 16}, "ลำดับที่", true, 13);
    row("LabelRNo", "PanelTop", {53, 69, 7, 16}, "0", true, 13);
    row("Bevel2", "PanelMain", {8, 6, 491, 67}, "", true, 11);
    row("LabelDBerror", "PanelMain", {157, 45, 198, 21}, "ไม่สามารถติดต่อฐานข้อมูลได้", false, 16);
    row("LabelStart", "PanelMain", {241, 45, 252, 21}, "กำลังส่งออกข้อมูลผลการเรียนโปรดรอ", false, 16);
    row("LabelEnd", "PanelMain", {214, 45, 276, 21}, "ส่งออกข้อมูลผลการเรียนขึ้นเว็บไซต์สำเร็จ", false, 16);
  }
  void controlsAsCreated() {
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    QFETCH(int, pixelSize);
    auto* control = form->findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(CaptionOf(control), caption);
    QCOMPARE(control->isVisible(), visible);
    QCOMPARE(control->font().pixelSize(), pixelSize);
  }

  void labelColours_data() {
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("outline");
    QTest::newRow("fcLabel1") << QColor(Qt::blue) << QColor(Qt::white);
    QTest::newRow("LabelDBerror") << QColor(Qt::red) << QColor(Qt::yellow);
    QTest::newRow("LabelStart") << QColor(Qt::red) << QColor(Qt::yellow);
    QTest::newRow("LabelEnd") << QColor(0, 128, 0) << QColor(Qt::white);
  }
  void labelColours() {
    QFETCH(QColor, text);
    QFETCH(QColor, outline);
    auto* label = Child<OutlineLabel>(*form, QTest::currentDataTag());
    QCOMPARE(label->textColor(), text);
    QCOMPARE(label->outlineColor(), outline);
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
  }

  void windowItself() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Marksend v.2.2  2023-07-23"));
    QCOMPARE(form->size(), QSize(511, 175));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    // Centred on the desktop, give or take the rounding of the odd sizes.
    const QPoint offCentre = form->geometry().center() - form->screen()->availableGeometry().center();
    QVERIFY2(std::abs(offCentre.x()) <= 1 && std::abs(offCentre.y()) <= 1, qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(FormMain, form.get());
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256}) QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    QCOMPARE(Child<QToolButton>(*form, "BtnExport")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(Child<OutlineLabel>(*form, "fcLabel1")->font().family(), Child<QLabel>(*form, "Label1")->font().family());
  }

  void memosHoldThePagesUnseen() {
    auto* input = Child<QPlainTextEdit>(*form, "Minput");
    auto* viewer = Child<QPlainTextEdit>(*form, "Mgradeviewer");
    QVERIFY(!input->isVisible());
    QVERIFY(!viewer->isVisible());
    auto page = [](std::string_view text) {
      return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    QCOMPARE(input->toPlainText(), page(web::InputPage()));
    QCOMPARE(viewer->toPlainText(), page(web::GradeViewerPage()));
  }

  void yearBoxTakesDigitsOnly() {
    auto* year = Child<QSpinBox>(*form, "EditYear");
    year->setFocus();
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("25x6'6;"));
    QCOMPARE(year->text(), QStringLiteral("2566"));
    QCOMPARE(year->singleStep(), 1);
  }

  void percentShown_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("shown");
    QTest::newRow("7 of 8 is cut, not rounded") << 7 << 8 << 87;
    QTest::newRow("2 of 3") << 2 << 3 << 66;
    QTest::newRow("full") << 8 << 8 << 100;
    QTest::newRow("empty") << 0 << 100 << 0;
    QTest::newRow("maximum 0") << 0 << 0 << 0;
    QTest::newRow("stale position, maximum 0") << 5 << 0 << 0;
    QTest::newRow("large counts do not overflow") << 2000000000 << 2100000000 << 95;
  }
  void percentShown() {
    QFETCH(int, position);
    QFETCH(int, maximum);
    QFETCH(int, shown);
    QCOMPARE(PercentShown(position, maximum), shown);
    // The bar draws with such values without failing.
    auto* bar = Child<PercentBar>(*form, "ProgressBar");
    bar->setMaximum(maximum);
    bar->setPosition(position);
    QCOMPARE(bar->percent(), shown);
    QVERIFY(!bar->grab().isNull());
  }

  void folderOfChosenPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("folder");
    QTest::newRow("windows folder") << "C:\\Web\\grade\\tev10xml.xml" << QChar('\\') << "C:\\Web\\grade";
    QTest::newRow("drive root") << "D:\\tev10xml.xml" << QChar('\\') << "D:";
    QTest::newRow("another file name") << "/srv/www/grade/results.xml" << QChar('/') << "/srv/www/grade";
    QTest::newRow("thai folder") << QString::fromUtf8("/srv/เกรด/tev10xml.xml") << QChar('/')
                                 << QString::fromUtf8("/srv/เกรด");
    QTest::newRow("no separator keeps the old folder") << "tev10xml.xml" << QChar('/') << "previous";
    QTest::newRow("only the native separator counts") << "C:/Web/tev10xml.xml" << QChar('\\') << "previous";
  }
  void folderOfChosenPath() {
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, folder);
    QCOMPARE(FolderOfChosenPath(path, separator, QStringLiteral("previous")), folder);
  }

  void realSaveDialogSettings() {
    const SaveDialogOptions options{QStringLiteral("title"), QStringLiteral("tev10xml.xml"), QStringLiteral("xml"),
                                    QStringLiteral("XML file (*.xml)")};
    const auto dialog = MakeSaveDialog(form.get(), options);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("title"));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("xml"));
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("XML file (*.xml)")});
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  }

 private:
  ScriptedDialogs dialogs;
  std::unique_ptr<TFormMain> form;
};

int RunControlsTest(int argc, char** argv) {
  ControlsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace marksend::test

#include "controls_test.moc"
