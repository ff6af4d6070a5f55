#include "app/window/outline_label.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace marksend {

namespace {
constexpr int kOutline = 1;  // pixels of outline around each glyph
}

OutlineLabel::OutlineLabel(const QString& text, QColor textColor, QColor outlineColor, QWidget* parent)
    : QWidget(parent), text_(text), textColor_(textColor), outlineColor_(outlineColor) {}

void OutlineLabel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  updateGeometry();
  update();
}

void OutlineLabel::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

QSize OutlineLabel::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(text_) + 2 * kOutline, metrics.height() + 2 * kOutline};
}

void OutlineLabel::paintEvent(QPaintEvent*) {
  const QFontMetrics metrics(font());
  const QRect area = rect().adjusted(kOutline, kOutline, -kOutline, -kOutline);
  const int width = metrics.horizontalAdvance(text_);

  int x = area.left();
  if (alignment_ & Qt::AlignRight) x = area.right() + 1 - width;
  if (alignment_ & Qt::AlignHCenter) x = area.left() + (area.width() - width) / 2;
  // Thai faces reserve a tall ascent for stacked marks that a caption seldom
  // uses; a baseline one em down keeps the letters inside a Tahoma-sized box.
  const int ascent = font().pixelSize() > 0 ? std::min(metrics.ascent(), font().pixelSize()) : metrics.ascent();
  const int height = ascent + metrics.descent();
  int top = area.top();
  if (alignment_ & Qt::AlignBottom) top = area.bottom() + 1 - height;
  if (alignment_ & Qt::AlignVCenter) top = area.top() + (area.height() - height) / 2;

  QPainterPath path;
  path.addText(QPointF(x, top + ascent), font(), text_);

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // The outline is stroked first, twice its width, so the fill covers its inner half.
  painter.strokePath(path, QPen(outlineColor_, 2.0 * kOutline + 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.fillPath(path, textColor_);
}

}  // namespace marksend
