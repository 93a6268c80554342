#include "ui/qt/line_list_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>

#include "ui/control_register.h"
#include "ui/events.h"
#include "ui/line_list.h"
#include "ui/line_list_notify.h"
#include "ui/qt/focus_frame.h"
#include "ui/qt/full_text_tip.h"

namespace {

// The point of a left press on a line, kept while the button is held.
constexpr char kMouseDown[] = "WK_MouseDown";

}  // namespace

LineListWidget::LineListWidget(QWidget* parent, uint32_t flags) : QListWidget(parent) {
  if (flags & kLineListExtendedSelection)
    setSelectionMode(QAbstractItemView::ExtendedSelection);
  else if (flags & kLineListMultipleSelection)
    setSelectionMode(QAbstractItemView::MultiSelection);
  else
    setSelectionMode(QAbstractItemView::SingleSelection);
  // Lines are as tall as the fonts that draw them, fallback fonts included.
  setUniformItemSizes(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QListWidget::itemSelectionChanged, this,
          [this] { ControlNotify(this, {NoticeKind::kCommand, kLineSelectionChange}); });
}

LineListWidget::~LineListWidget() { disconnect(this, &QListWidget::itemSelectionChanged, this, nullptr); }

void LineListWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
    const QListWidgetItem* line = itemAt(at);
    if (line && (!Extended() || line->isSelected())) {
      setProperty(kMouseDown, at);
      // An extended-selection list keeps its selection for the drag.
      if (Extended()) return;
    }
  }
  QListWidget::mousePressEvent(event);
}

void LineListWidget::mouseMoveEvent(QMouseEvent* event) {
  const QVariant down = property(kMouseDown);
  if (down.isValid()) {
    const QPoint moved = event->position().toPoint() - down.toPoint();
    const int distance = QApplication::startDragDistance();
    if (std::abs(moved.x()) > distance || std::abs(moved.y()) > distance) {
      setProperty(kMouseDown, QVariant());
      ControlEventPost(this, DetailDragStart);
    }
  }
  QListWidget::mouseMoveEvent(event);
}

void LineListWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && property(kMouseDown).isValid()) {
    setProperty(kMouseDown, QVariant());
    ControlEventPost(this, DetailLeftClick);
  } else if (event->button() == Qt::RightButton) {
    ControlEventPost(this, DetailRightClick);
  }
  QListWidget::mouseReleaseEvent(event);
}

void LineListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
    ControlNotify(this, {NoticeKind::kCommand, kLineDoubleClick});
}

bool LineListWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) return ShowFullTextTip(*this, static_cast<QHelpEvent&>(*event));
  return QListWidget::viewportEvent(event);
}

bool LineListWidget::event(QEvent* event) {
  const bool handled = QListWidget::event(event);
  FocusFrameAfter(*this, *event);
  return handled;
}
