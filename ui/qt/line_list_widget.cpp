#include "ui/qt/line_list_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <cmath>
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
// Room left after a line's text when the list scrolls sideways, in pixels.
constexpr int kTextEndMargin = 8;

// Whether every character of the text is plain ASCII, which the list's own font draws.
bool PlainAscii(const QString& text) {
  for (const QChar unit : text)
    if (unit.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

// Gives every line the size of the largest line put in.
class LineListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index).expandedTo(largest);
  }

  QSize largest;
};

LineListWidget::LineListWidget(QWidget* parent, uint32_t flags)
    : QListWidget(parent), delegate_(new LineListDelegate(this)) {
  if (flags & kLineListExtendedSelection)
    setSelectionMode(QAbstractItemView::ExtendedSelection);
  else if (flags & kLineListMultipleSelection)
    setSelectionMode(QAbstractItemView::MultiSelection);
  else
    setSelectionMode(QAbstractItemView::SingleSelection);
  setItemDelegate(delegate_);
  setUniformItemSizes(true);
  MeasureAscii();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    ControlNotify(this, {NoticeKind::kCommand, kLineSelectionChange});
  });
}

LineListWidget::~LineListWidget() { disconnect(this, &QListWidget::itemSelectionChanged, this, nullptr); }

QSize LineListWidget::LineSize(const QString& text) const {
  if (PlainAscii(text)) {
    // Added up from each character's advance: shaping every line of a long scan would
    // cost more than the rest of showing it.
    int width = kTextEndMargin;
    for (const QChar unit : text) width += ascii_advance_[unit.unicode()];
    return {width, fontMetrics().height()};
  }
  // Other characters may come from fallback fonts, whose lines can be taller.
  QTextLayout layout(text, font());
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e9);
  layout.endLayout();
  return {static_cast<int>(std::ceil(line.naturalTextWidth())) + kTextEndMargin,
          static_cast<int>(std::ceil(line.height()))};
}

void LineListWidget::LinesAdded(const QStringList& texts) {
  QSize largest = delegate_->largest;
  for (const QString& text : texts) largest = largest.expandedTo(LineSize(text));
  if (largest == delegate_->largest) return;
  delegate_->largest = largest;
  scheduleDelayedItemsLayout();
}

void LineListWidget::MeasureAscii() {
  const QFontMetrics metrics = fontMetrics();
  for (char16_t unit = 0; unit < ascii_advance_.size(); ++unit)
    ascii_advance_[unit] = metrics.horizontalAdvance(QChar(unit));
}

void LineListWidget::LinesCleared() {
  delegate_->largest = QSize();
  scheduleDelayedItemsLayout();
}

void LineListWidget::changeEvent(QEvent* event) {
  QListWidget::changeEvent(event);
  if (event->type() != QEvent::FontChange) return;
  // Measured again in the new font.
  MeasureAscii();
  delegate_->largest = QSize();
  QStringList texts;
  for (int row = 0; row < count(); ++row) texts.append(item(row)->text());
  LinesAdded(texts);
}

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
  if (event->type() == QEvent::ToolTip) {
    // Every line takes the widest line's size: the tip goes by the line's own text.
    auto& help = static_cast<QHelpEvent&>(*event);
    const QListWidgetItem* line = itemAt(help.pos());
    return ShowFullTextTip(*this, help, line ? LineSize(line->text()).width() : -1);
  }
  return QListWidget::viewportEvent(event);
}

bool LineListWidget::event(QEvent* event) {
  const bool handled = QListWidget::event(event);
  FocusFrameAfter(*this, *event);
  return handled;
}
