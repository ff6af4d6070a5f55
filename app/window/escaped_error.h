// The application's standard error box for an error that escaped a handler
// or the start-up. Thread rule: the window's thread only.
#pragma once

class QWidget;

namespace marksend {

class Dialogs;

// Shows the error now being handled: its message for a standard exception,
// an empty text for anything else. Call only from inside a catch block.
void ShowEscapedError(Dialogs& dialogs, QWidget* parent);

}  // namespace marksend
