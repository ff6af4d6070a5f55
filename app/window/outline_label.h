// A label whose text is filled in one colour and outlined in another, like
// the title and the state labels of the main window. Thread rule: the
// window's thread only.
#pragma once

#include <QColor>
#include <QWidget>

namespace marksend {

class OutlineLabel : public QWidget {
  Q_OBJECT
 public:
  OutlineLabel(const QString& text, QColor textColor, QColor outlineColor, QWidget* parent = nullptr);

  QString text() const { return text_; }
  void setText(const QString& text);
  QColor textColor() const { return textColor_; }
  QColor outlineColor() const { return outlineColor_; }
  // Where the text sits in the label; left and top unless set.
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment alignment);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QColor textColor_;
  QColor outlineColor_;
  Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
};

}  // namespace marksend
