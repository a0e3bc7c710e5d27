#pragma once
// A label for texts that change while the program runs (progress, status,
// results). Its size does not follow its text, so that no text can widen the
// window: it keeps room for a sample text, and a longer text is cut with an
// ellipsis and shown whole in the label's tool tip.
#include <QLabel>

namespace ui {

class StatusLabel : public QLabel {
 public:
  // `roomFor`: the text the label always has room for.
  StatusLabel(const QString& text, const QString& roomFor);

  // Whether the text is longer than the room the label has now.
  bool Elided() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override { return minimumSizeHint(); }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;

  QString roomFor_;
};

}  // namespace ui
