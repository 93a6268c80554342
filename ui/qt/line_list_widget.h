#pragma once
// The widget of a line list: reports selection changes and double-clicks as commands
// and watches the mouse for clicks and drags on its lines.
//
// Every line is as tall as the tallest and as wide as the widest (fallback fonts
// included): with one size for all, laying the list out costs next to nothing per line,
// so a list of a million lines grows as fast as a short one.
#include <QListWidget>
#include <QSize>
#include <array>

class LineListDelegate;

class LineListWidget : public QListWidget {
 public:
  LineListWidget(QWidget* parent, uint32_t flags);
  ~LineListWidget() override;

  // Lines have been put in: the size every line takes grows to fit them.
  void LinesAdded(const QStringList& texts);
  // The list has been emptied: lines are as small as the font allows again.
  void LinesCleared();

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool Extended() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }
  // The size of one line showing the text.
  QSize LineSize(const QString& text) const;
  void MeasureAscii();

  std::array<int, 128> ascii_advance_{};  // in the list's font

  LineListDelegate* delegate_;
};
