#pragma once
// A label for texts that change while the program runs (progress, status,
// results). Its width does not follow its text, so that no text can widen the
// window: it keeps room for a sample text, and a longer text is either cut
// with an ellipsis (shown whole in the label's tool tip) or wrapped onto as
// many lines as it needs, its height following the text.
#include <QLabel>

namespace ui {

class StatusLabel : public QLabel {
 public:
  enum class Fit { kElide, kWrap };

  // `roomFor`: the text the label always has room for.
  StatusLabel(const QString& text, const QString& roomFor, Fit fit = Fit::kElide);

  // Whether the text needs more room than the label has now.
  bool Elided() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override { return minimumSizeHint(); }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextArea() const;

  QString roomFor_;
  Fit fit_;
};

}  // namespace ui
