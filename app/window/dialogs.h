// The window's dialogs behind one seam, so that tests can answer them: the
// save dialog and the information and error message boxes. Thread rule: the
// window's thread only.
#pragma once

#include <memory>
#include <optional>

#include <QString>

class QFileDialog;
class QWidget;

namespace marksend {

struct SaveDialogOptions {
  QString title;
  QString fileName;       // offered at first
  QString defaultSuffix;  // added when the typed name has none
  QString filter;         // one name filter, e.g. "XML file (*.xml)"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The path the user chose (Qt's "/" form), or nothing when cancelled.
  virtual std::optional<QString> SaveFileName(QWidget* parent, const SaveDialogOptions& options) = 0;
  // An information box with the single button OK; returns when it is closed.
  virtual void Information(QWidget* parent, const QString& text) = 0;
  // The standard error box: the application title, an error icon, OK.
  virtual void Error(QWidget* parent, const QString& text) = 0;
};

// The real dialogs: QFileDialog and QMessageBox.
class QtDialogs : public Dialogs {
 public:
  std::optional<QString> SaveFileName(QWidget* parent, const SaveDialogOptions& options) override;
  void Information(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
};

// The save dialog as QtDialogs shows it: never asks before an existing file
// is chosen. The caller owns it.
std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget* parent, const SaveDialogOptions& options);

}  // namespace marksend
