#include "app/window/form_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <filesystem>

#include "app/connection_settings.h"
#include "app/school_record.h"
#include "app/window/app_title.h"
#include "app/window/dialogs.h"
#include "app/window/escaped_error.h"
#include "app/window/outline_label.h"
#include "app/window/output_folder.h"
#include "app/window/percent_bar.h"
#include "app/window/window_export_host.h"
#include "app/window/window_font.h"
#include "export/export_thread.h"
#include "platform/date_format.h"
#include "web/page_texts.h"

// The icon's resource lives in a static library, so it is registered by hand.
static void RegisterIconResource() { Q_INIT_RESOURCE(marksend); }

namespace marksend {

TFormMain* FormMain = nullptr;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 128, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::ButtonText, color);
  widget->setPalette(palette);
}

QString Thai(const char* utf8) { return QString::fromUtf8(utf8); }

QString Page(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QIcon WindowIcon() {
  RegisterIconResource();
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/marksend/marksend-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace

TFormMain::TFormMain(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs),
      host_(std::make_unique<WindowExportHost>(*this)) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  setWindowIcon(WindowIcon());
  setFont(WindowFont(11));
  setFixedSize(511, 175);
  BuildControls();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
  FormMain = this;
}

TFormMain::~TFormMain() {
  StopExportAndWait();
  if (FormMain == this) FormMain = nullptr;
}

void TFormMain::BuildControls() {
  // The memos are never seen; they carry the page texts that a run writes out.
  Minput = Place(new QPlainTextEdit(this), "Minput", 0, 0, 10, 10);
  Minput->setPlainText(Page(web::InputPage()));
  Minput->hide();
  Mgradeviewer = Place(new QPlainTextEdit(this), "Mgradeviewer", 0, 0, 10, 10);
  Mgradeviewer->setPlainText(Page(web::GradeViewerPage()));
  Mgradeviewer->hide();

  PanelTop = Place(new QFrame(this), "PanelTop", 0, 0, 511, 89);
  PanelTop->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PanelMain = Place(new QFrame(this), "PanelMain", 0, 89, 511, 86);
  PanelMain->setFrameStyle(QFrame::Panel | QFrame::Raised);

  Bevel1 = Place(new QFrame(PanelTop), "Bevel1", 8, 4, 372, 25);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  fcLabel1 = Place(new OutlineLabel(Thai("ส่งออกข้อมูลคะแนนขึ้นเว็บไซต์"), kBlue, kWhite, PanelTop), "fcLabel1",
                   22, 6, 208, 21);
  fcLabel1->setFont(WindowFont(16));

  Label1 = Place(new QLabel(Thai("ปีการศึกษา"), PanelTop), "Label1", 260, 9, 51, 13);
  // Centred upright: a Thai face's tall line box then still fits the label's height.
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  EditYear = Place(new QSpinBox(PanelTop), "EditYear", 314, 6, 60, 21);
  // Digits only, in Latin digits whatever the desktop's language; no bound met in practice.
  EditYear->setLocale(QLocale::c());
  EditYear->setRange(0, 99999);
  EditYear->setSingleStep(1);
  EditYear->setValue(0);

  BtnExport = Place(new QToolButton(PanelTop), "BtnExport", 386, 9, 113, 57);
  BtnExport->setText(Thai("ส่งออกข้อมูล"));
  BtnExport->setFont(WindowFont(13));
  BtnExport->setFocusPolicy(Qt::NoFocus);
  SetTextColor(BtnExport, kBlue);
  connect(BtnExport, &QToolButton::clicked, this, &TFormMain::BtnExportClick);

  ProgressBar = Place(new PercentBar(PanelTop), "ProgressBar", 8, 35, 372, 32);

  LabelRecNo = Place(new QLabel(Thai("ลำดับที่"), PanelTop), "LabelRecNo", 8, 69, 39, 16);
  LabelRecNo->setFont(WindowFont(13));
  LabelRecNo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  SetTextColor(LabelRecNo, kBlack);
  LabelRNo = Place(new QLabel(QStringLiteral("0"), PanelTop), "LabelRNo", 53, 69, 7, 16);
  LabelRNo->setFont(WindowFont(13));
  LabelRNo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  SetTextColor(LabelRNo, kBlack);

  Bevel2 = Place(new QFrame(PanelMain), "Bevel2", 8, 6, 491, 67);
  Bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);

  LabelDBerror = Place(new OutlineLabel(Thai("ไม่สามารถติดต่อฐานข้อมูลได้"), kRed, kYellow, PanelMain), "LabelDBerror",
                       157, 45, 198, 21);
  LabelStart = Place(new OutlineLabel(Thai("กำลังส่งออกข้อมูลผลการเรียนโปรดรอ"), kRed, kYellow, PanelMain),
                     "LabelStart", 241, 45, 252, 21);
  LabelEnd = Place(new OutlineLabel(Thai("ส่งออกข้อมูลผลการเรียนขึ้นเว็บไซต์สำเร็จ"), kGreen, kWhite, PanelMain),
                   "LabelEnd", 214, 45, 276, 21);
  for (OutlineLabel* label : {LabelDBerror, LabelStart, LabelEnd}) {
    label->setFont(WindowFont(16));
    label->hide();
  }
}

void TFormMain::FormCreate() {
  const QByteArray folder = QDir::toNativeSeparators(QDir::currentPath()).toUtf8();
  const std::filesystem::path workingDir(reinterpret_cast<const char8_t*>(folder.constData()));
  if (ConnectDatabase(DBConnection, workingDir)) LabelDBerror->show();  // the error's text is dropped
  if (DBConnection.Connected()) DefaultYear = LoadSchoolRecord(QuerySchool, Today());
  EditYear->setValue(DefaultYear);
}

void TFormMain::BtnExportClick() {
  try {
    const bool startWasHidden = LabelStart->isHidden();
    const bool endWasHidden = LabelEnd->isHidden();
    LabelEnd->hide();
    LabelStart->show();
    const SaveDialogOptions options{Thai("ส่งออกข้อมูล"), QStringLiteral("tev10xml.xml"), QStringLiteral("xml"),
                                    QStringLiteral("XML file (*.xml)")};
    const std::optional<QString> chosen = dialogs_.SaveFileName(this, options);
    if (!chosen) {
      // Nothing was started, so the labels go back as they were, unless a
      // run that ended while the dialog was open has set them since.
      if (!LabelStart->isHidden() && LabelEnd->isHidden()) {
        LabelStart->setHidden(startWasHidden);
        LabelEnd->setHidden(endWasHidden);
      }
      return;
    }
    OutputFolder = FolderOfChosenPath(QDir::toNativeSeparators(*chosen), QChar::fromLatin1(NativeSeparator()),
                                      OutputFolder);
    StartExport();
  } catch (...) {
    ShowEscapedError(dialogs_, this);
  }
}

void TFormMain::StartExport() {
  if (ExportRunning) {
    dialogs_.Information(this, QStringLiteral("This thread is still running.  You are going to hurt yourself!"));
    return;
  }
  ExportRunning = true;
  host_->RequestStop(false);
  try {
    TExportThread::Start(std::make_unique<TExportThread>(*host_, DBConnection));
  } catch (...) {
    ExportRunning = false;  // no worker exists to clear it
    throw;
  }
}

void TFormMain::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->ignore();  // already closing, waiting for the run to stop
    return;
  }
  closing_ = true;
  try {
    FormClose();
  } catch (...) {
    ShowEscapedError(dialogs_, this);
  }
  closing_ = false;
  event->accept();
}

void TFormMain::FormClose() {
  // The worker uses the connection, so it must be gone before the connection closes.
  StopExportAndWait();
  DisconnectDatabase(DBConnection);
}

void TFormMain::StopExportAndWait() {
  if (!ExportRunning) return;
  host_->RequestStop(true);
  // The worker's calls onto this thread are posted events: serve them until
  // its last one clears the flag. The user's input waits meanwhile.
  while (ExportRunning)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
}

}  // namespace marksend
