#include "ui/picture_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "fs/object_table.h"
#include "ui/picture_content.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

const QString kViewName = QStringLiteral("WK_PictureView");
// The client size for a text, in device-independent pixels.
constexpr PictureSize kTextSize{400, 150};

int64_t Pixels(double value) { return std::llround(value); }

// Draws the picture (or the text) over the whole of the window's client area.
class PictureView : public QWidget {
 public:
  explicit PictureView(double share) : content_(share) {
    setObjectName(kViewName);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void Show(std::optional<Bitmap> picture, const std::u16string& text) {
    content_.Set(std::move(picture), text);
    setAccessibleName(QString::fromStdU16String(content_.Text()));
    drawn_ = QImage();
    update();
  }

  const std::u16string& Text() const { return content_.Text(); }

  // The client size the window gets for what it shows, in device-independent pixels:
  // worked out in the screen's own pixels, as a picture is never enlarged past its own.
  QSize WindowSize(const QScreen* screen) const {
    if (!screen) return {static_cast<int>(kTextSize.width), static_cast<int>(kTextSize.height)};
    const double ratio = screen->devicePixelRatio();
    const QSize work = screen->availableGeometry().size();
    const PictureSize pixels = content_.ClientSize({Pixels(work.width() * ratio), Pixels(work.height() * ratio)},
                                                   {Pixels(kTextSize.width * ratio), Pixels(kTextSize.height * ratio)});
    return {std::max(1, static_cast<int>(std::lround(pixels.width / ratio))),
            std::max(1, static_cast<int>(std::lround(pixels.height / ratio)))};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kPictureBackground, kPictureBackground, kPictureBackground));
    const Bitmap* picture = content_.Picture();
    if (!picture) {
      painter.setPen(Qt::white);
      painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                       QString::fromStdU16String(content_.Text()));
      return;
    }
    const double ratio = devicePixelRatioF();
    const PictureSize fitted =
        PictureFit({picture->Width(), picture->Height()}, {Pixels(width() * ratio), Pixels(height() * ratio)});
    if (fitted.width == 0) return;
    const QSize size(static_cast<int>(fitted.width), static_cast<int>(fitted.height));
    // Scaled once per size rather than at every repaint: a large picture takes a while.
    if (drawn_.size() != size) {
      const QImage::Format format = picture->Depth() == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32;
      // The bitmap's rows lie bottom-up: read as they lie, then turned upright.
      const QImage rows(picture->Bits(), picture->Width(), picture->Height(), static_cast<qsizetype>(picture->Pitch()),
                        format);
      drawn_ = rows.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).mirrored(false, true);
      drawn_.setDevicePixelRatio(ratio);
    }
    const QSizeF shown = QSizeF(size) / ratio;
    painter.drawImage(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), drawn_);
  }

 private:
  PictureContent content_;
  QImage drawn_;
};

PictureView* ViewOf(int64_t number) {
  QWidget* window = WindowHandle(number);
  return window ? dynamic_cast<PictureView*>(window->findChild<QWidget*>(kViewName)) : nullptr;
}

PictureRect Rect(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

const QScreen* ScreenFor(std::optional<int64_t> owner) {
  if (owner)
    if (const QWidget* owner_window = WindowHandle(*owner)) return owner_window->screen();
  return QGuiApplication::primaryScreen();
}

}  // namespace

int64_t PictureWindowOpen(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                          const std::u16string& text, double screen_share, uint32_t flags,
                          std::optional<int64_t> owner) {
  // The view comes first: the window's size is the one it asks for.
  auto view = std::make_unique<PictureView>(screen_share);
  view->Show(std::move(picture), text);
  const QSize size = view->WindowSize(ScreenFor(owner));
  const int64_t result = WindowCreate(number, kDefaultPosition, kDefaultPosition, size.width(), size.height(), title,
                                      flags | kWindowHidden | kWindowNotContainer, owner);
  if (result == 0) return 0;
  QWidget* window = WindowHandle(number == kAutoNumber ? result : number);
  auto* layout = new QVBoxLayout(window);  // owned by the window, and the view by it from here on
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view.release());
  if (flags & kWindowNoActivate) window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  if (const QScreen* screen = ScreenFor(owner)) {
    const QWidget* owner_window = owner ? WindowHandle(*owner) : nullptr;
    const PictureRect beside = owner_window ? Rect(owner_window->frameGeometry()) : PictureRect{};
    const PictureRect placed = PicturePlace(Rect(screen->availableGeometry()), owner_window ? &beside : nullptr,
                                            {window->frameGeometry().width(), window->frameGeometry().height()});
    window->move(static_cast<int>(placed.x), static_cast<int>(placed.y));
  }
  if (!(flags & kWindowHidden)) window->show();
  return result;
}

bool PictureWindowShow(int64_t number, const std::u16string& title, std::optional<Bitmap> picture,
                       const std::u16string& text) {
  PictureView* view = ViewOf(number);
  if (!view) return false;
  QWidget* window = view->window();
  view->Show(std::move(picture), text);
  window->setWindowTitle(QString::fromStdU16String(title));
  const QSize size = view->WindowSize(window->screen());
  const QRect frame = window->frameGeometry();
  // The frame keeps its borders: the client size changes by as much as the frame's.
  const QSize borders = frame.size() - window->size();
  const QWidget* owner = window->parentWidget();
  const PictureRect owner_frame = owner ? Rect(owner->frameGeometry()) : PictureRect{};
  const QRect work = window->screen() ? window->screen()->availableGeometry() : frame;
  const PictureRect placed = PictureResize(Rect(work), owner ? &owner_frame : nullptr, Rect(frame),
                                           {size.width() + borders.width(), size.height() + borders.height()});
  window->resize(size);
  window->move(static_cast<int>(placed.x), static_cast<int>(placed.y));
  return true;
}

std::u16string PictureWindowText(int64_t number) {
  const PictureView* view = ViewOf(number);
  return view ? view->Text() : std::u16string();
}
