// The program's start: the one main window, created and opened. Thread rule:
// the application's main thread, after QApplication exists.
#pragma once

#include <memory>

namespace marksend {

class Dialogs;
class TFormMain;

// Creates the main window (FormMain), runs FormCreate and shows the window.
// An error escaping FormCreate goes to the standard error box; the window
// opens all the same. The caller owns the window; dialogs must outlive it.
std::unique_ptr<TFormMain> CreateMainWindow(Dialogs& dialogs);

}  // namespace marksend
