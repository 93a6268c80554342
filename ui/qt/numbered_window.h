#pragma once
// The top-level widget behind a numbered window: turns what happens to the window
// into queued events.
#include <QWidget>
#include <cstdint>

class NumberedWindow : public QWidget {
 public:
  NumberedWindow(int64_t number, QWidget* owner, Qt::WindowFlags flags);
  ~NumberedWindow() override;

  int64_t Number() const { return number_; }
  void SetReady(bool ready) { ready_ = ready; }
  void SetMinimisedOrMaximised(bool state) { state_flag_ = state; }
  // The client size the window was asked for; anchored controls stand where they were
  // made at this size.
  QSize DesignSize() const { return design_size_; }
  void SetDesignSize(QSize size) { design_size_ = size; }
  // Keeps the window on the screen now, and once more when the window manager has
  // framed it: only then is the frame's size known.
  void KeepOnScreen(bool sizable);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Post(int32_t code, int64_t object);
  void FrameCheck();

  int64_t number_;
  bool ready_ = false;       // move and size events only once creation has finished
  bool state_flag_ = false;  // minimised or maximised
  QSize design_size_;
  bool frame_unknown_ = false;  // placed before the window manager framed it
  bool sizable_ = false;
};
