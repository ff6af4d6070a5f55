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
  const std::optional<int> held = std::exchange(heldRows_, std::nullopt);
  return OnThreadOf(form_, [this, held, &action] {
    if (held) ShowRows(*held);
    return action();
  });
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
  Call([this, position] {
    form_.ProgressBar->setPosition(position);
    form_.ProgressBar->repaint();
  });
}

void WindowExportHost::SetRowCounter(int count) {
  const auto now = std::chrono::steady_clock::now();
  if (QThread::currentThread() != form_.thread() && now - rowsShownAt_ < kFrame) {
    heldRows_ = count;
    return;
  }
  heldRows_.reset();
  rowsShownAt_ = now;
  OnThreadOf(form_, [this, count] { ShowRows(count); });
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
