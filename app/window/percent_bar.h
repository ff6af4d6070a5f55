// The export's progress bar: a filled share of its width and, centred on it,
// the whole-number percentage without a percent sign. Thread rule: the
// window's thread only.
#pragma once

#include <QWidget>

namespace marksend {

// The percentage a bar shows: position * 100 / maximum with the fraction cut
// off, kept within 0..100; 0 while the maximum is 0 or less.
int PercentShown(int position, int maximum);

class PercentBar : public QWidget {
  Q_OBJECT
 public:
  explicit PercentBar(QWidget* parent = nullptr);

  int maximum() const { return maximum_; }
  int position() const { return position_; }
  void setMaximum(int maximum);
  void setPosition(int position);
  int percent() const { return PercentShown(position_, maximum_); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace marksend
