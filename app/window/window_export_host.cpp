#include "app/window/window_export_host.h"

#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QThread>
#include <algorithm>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

#include "app/window/blocking_handoff.h"
#include "app/window/dialogs.h"
#include "app/window/form_main.h"
#include "app/window/outline_label.h"
#include "app/window/percent_bar.h"

namespace marksend {

namespace {

// Runs action on target's thread and waits for it. An error it raises is
// carried back to the caller instead of escaping into Qt's event loop.
template <typename F>
auto OnThreadOf(QObject& target, F&& action) -> std::invoke_result_t<F&> {
  using Result = std::invoke_result_t<F&>;
  if (QThread::currentThread() == target.thread()) return action();
  std::exception_ptr failure;
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(
        &target,
        handoff::Carry([&] {
          try {
            action();
          } catch (...) {
            failure = std::current_exception();
          }
        }),
        Qt::BlockingQueuedConnection);
    handoff::Receive();
    if (failure) std::rethrow_exception(failure);
  } else {
    std::optional<Result> result;
    QMetaObject::invokeMethod(
        &target,
        handoff::Carry([&] {
          try {
            result.emplace(action());
          } catch (...) {
            failure = std::current_exception();
          }
        }),
        Qt::BlockingQueuedConnection);
    handoff::Receive();
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
  }
}

// The memo's text as it holds it: QPlainTextEdit::toPlainText would turn
// non-breaking spaces into plain ones, so the raw text is read instead.
std::string MemoText(const QPlainTextEdit& memo) {
  QString text = memo.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text.toStdString();
}

constexpr std::chrono::milliseconds kFrame{16};

}  // namespace

template <typename F>
auto WindowExportHost::Call(F&& action) {
  const std::optional<int> position = std::exchange(heldPosition_, std::nullopt);
  const std::optional<int> rows = std::exchange(heldRows_, std::nullopt);
  return OnThreadOf(form_, [this, position, rows, &action] {
    if (position) ShowPosition(*position);
    if (rows) ShowRows(*rows);
    return action();
  });
}

bool WindowExportHost::Hold(std::optional<int>& held, std::chrono::steady_clock::time_point& shownAt, int value) {
  const auto now = std::chrono::steady_clock::now();
  if (QThread::currentThread() != form_.thread() && now - shownAt < kFrame) {
    held = value;
    return true;
  }
  held.reset();
  shownAt = now;
  return false;
}

void WindowExportHost::ShowPosition(int position) {
  form_.ProgressBar->setPosition(position);
  form_.ProgressBar->repaint();
}

void WindowExportHost::ShowRows(int count) {
  QLabel& label = *form_.LabelRNo;
  label.setText(QString::number(count));
  // Grows with the count, as the label sized to its caption does.
  label.resize(std::max(label.width(), label.sizeHint().width()), label.height());
}

std::string WindowExportHost::OutputFolder() {
  return Call([this] { return form_.OutputFolder.toStdString(); });
}

std::string WindowExportHost::YearText() {
  return Call([this] { return form_.EditYear->text().toStdString(); });
}

std::string WindowExportHost::PageText(PageId page) {
  return Call([this, page] {
    return MemoText(page == PageId::Input ? *form_.Minput : *form_.Mgradeviewer);
  });
}

void WindowExportHost::SetProgressMax(int max) {
  Call([this, max] { form_.ProgressBar->setMaximum(max); });
}

void WindowExportHost::SetProgressPosition(int position) {
  if (Hold(heldPosition_, positionShownAt_, position)) return;
  Call([this, position] { ShowPosition(position); });
}

void WindowExportHost::SetRowCounter(int count) {
  if (Hold(heldRows_, rowsShownAt_, count)) return;
  Call([this, count] { ShowRows(count); });
}

void WindowExportHost::ShowFinished() {
  Call([this] {
    form_.LabelStart->hide();
    form_.LabelEnd->show();
  });
}

void WindowExportHost::ClearRunning() {
  Call([this] { form_.ExportRunning = false; });
}

void WindowExportHost::ReportFailure(const std::string& message) {
  Call([this, &message] {
    form_.LabelStart->hide();
    form_.dialogs_.Error(&form_, QString::fromStdString(message));
  });
}

}  // namespace marksend
