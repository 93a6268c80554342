#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/window_access.h"

namespace {

constexpr uint32_t kButtonBits = 0xF;
constexpr uint32_t kIconBits = 0xF0;

QMessageBox::StandardButtons Buttons(uint32_t flags) {
  switch (flags & kButtonBits) {
    case kMessageBoxOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case kMessageBoxYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMessageBoxYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::Icon Icon(uint32_t flags) {
  switch (flags & kIconBits) {
    case kMessageBoxIconStop:
      return QMessageBox::Critical;
    case kMessageBoxIconQuestion:
      return QMessageBox::Question;
    case kMessageBoxIconWarning:
      return QMessageBox::Warning;
    case kMessageBoxIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int Result(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Cancel:
      return kMessageBoxResultCancel;
    case QMessageBox::Yes:
      return kMessageBoxResultYes;
    case QMessageBox::No:
      return kMessageBoxResultNo;
    default:
      return kMessageBoxResultOk;
  }
}

}  // namespace

int MessageBoxShow(const std::u16string& caption, const std::u16string& text, uint32_t flags,
                   std::optional<int64_t> owner) {
  QWidget* parent = owner ? WindowHandle(*owner) : QApplication::activeWindow();
  const std::u16string shown = text.size() > kMessageBoxMaxText ? text.substr(0, kMessageBoxMaxText - 1) : text;
  QMessageBox box(Icon(flags), QString::fromStdU16String(caption), QString::fromStdU16String(shown), Buttons(flags),
                  parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  // A box closed without a button (its close box, Escape) answers as its escape button.
  const QMessageBox::StandardButton button = clicked                                  ? box.standardButton(clicked)
                                             : (flags & kButtonBits) == kMessageBoxOk ? QMessageBox::Ok
                                                                                      : QMessageBox::Cancel;
  return Result(button);
}
