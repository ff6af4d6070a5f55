// marksend: the desktop program. One main window; an error that escapes the
// start-up is shown in the standard error box. Always exits with 0.
#include <QApplication>

#include "app/window/app_title.h"
#include "app/window/dialogs.h"
#include "app/window/escaped_error.h"
#include "app/window/form_main.h"
#include "app/window/program_start.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The title is the caption of the message boxes. Not the display name:
  // Qt would append that to the window's caption.
  QApplication::setApplicationName(QString::fromUtf8(marksend::kApplicationTitle));
  marksend::QtDialogs dialogs;
  try {
    const auto form = marksend::CreateMainWindow(dialogs);
    QApplication::exec();
  } catch (...) {
    marksend::ShowEscapedError(dialogs, nullptr);
  }
  return 0;
}
