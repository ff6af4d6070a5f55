#include <QFileDialog>
#include <QMessageBox>

#include "app/window/app_title.h"
#include "app/window/dialogs.h"

namespace marksend {

std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const SaveDialogOptions& options) {
  auto dialog = std::make_unique<QFileDialog>(parent, options.title);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilter(options.filter);
  dialog->setDefaultSuffix(options.defaultSuffix);
  dialog->selectFile(options.fileName);
  // The export's file names are fixed; choosing an existing file is the usual case.
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  return dialog;
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const SaveDialogOptions& options) {
  auto dialog = MakeSaveDialog(parent, options);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().constFirst();
}

void QtDialogs::Information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok);
}

void QtDialogs::Error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok);
}

}  // namespace marksend
