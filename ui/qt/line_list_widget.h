#pragma once
// The widget of a line list: reports selection changes and double-clicks as commands
// and watches the mouse for clicks and drags on its lines.
#include <QListWidget>

class LineListWidget : public QListWidget {
 public:
  LineListWidget(QWidget* parent, uint32_t flags);
  ~LineListWidget() override;

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  bool Extended() const { return selectionMode() == QAbstractItemView::ExtendedSelection; }
};
