#include "app/window/percent_bar.h"

#include <QPainter>
#include <algorithm>

namespace marksend {

int PercentShown(int position, int maximum) {
  if (maximum <= 0) return 0;
  const long long percent = static_cast<long long>(position) * 100 / maximum;
  return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

PercentBar::PercentBar(QWidget* parent) : QWidget(parent) {}

void PercentBar::setMaximum(int maximum) {
  maximum_ = maximum;
  update();
}

void PercentBar::setPosition(int position) {
  position_ = position;
  update();
}

void PercentBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(inside, palette().base());
  const int share = percent();
  const int filled = maximum_ > 0 ? static_cast<int>(static_cast<long long>(inside.width()) *
                                                     std::clamp(position_, 0, maximum_) / maximum_)
                                  : 0;
  const QRect bar(inside.left(), inside.top(), filled, inside.height());
  painter.fillRect(bar, palette().highlight());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame);

  // The number reads in the text colour over the empty part and inverted over the bar.
  const QString text = QString::number(share);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.setClipRect(bar);
  painter.setPen(palette().color(QPalette::HighlightedText));
  painter.drawText(inside, Qt::AlignCenter, text);
}

}  // namespace marksend
