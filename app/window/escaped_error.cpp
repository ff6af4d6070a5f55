#include "app/window/escaped_error.h"

#include <QString>
#include <exception>

#include "app/window/dialogs.h"

namespace marksend {

void ShowEscapedError(Dialogs& dialogs, QWidget* parent) {
  QString text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
    // Not one of ours: shown with an empty text.
  }
  dialogs.Error(parent, text);
}

}  // namespace marksend
