#include "app/window/program_start.h"

#include "app/window/escaped_error.h"
#include "app/window/form_main.h"

namespace marksend {

std::unique_ptr<TFormMain> CreateMainWindow(Dialogs& dialogs) {
  auto form = std::make_unique<TFormMain>(dialogs);
  try {
    form->FormCreate();
  } catch (...) {
    ShowEscapedError(dialogs, form.get());
  }
  form->show();
  return form;
}

}  // namespace marksend
