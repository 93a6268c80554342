#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

struct SeenBox {
  bool seen = false;
  bool modal = false;
  QString caption;
  QString text;
  bool has_icon = true;
  int buttons = 0;
};

// Looks at the box once it is up and closes it with the given button.
void CloseBoxSoon(SeenBox& seen, QMessageBox::StandardButton press) {
  QTimer::singleShot(0, [&seen, press] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.seen = true;
    seen.modal = box->windowModality() == Qt::ApplicationModal;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.has_icon = box->icon() != QMessageBox::NoIcon;
    seen.buttons = static_cast<int>(box->buttons().size());
    box->button(press)->click();
  });
}

TEST(MessageBox, ShowsCaptionAndTextModallyAndReturnsOnlyWhenClosed) {
  SeenBox seen;
  CloseBoxSoon(seen, QMessageBox::Ok);
  EXPECT_EQ(MessageBoxShow(u"File Selected", u"You double-clicked: pic.png", 0), kMessageBoxResultOk);
  // The timer could only run while the box waited: it was open until closed.
  ASSERT_TRUE(seen.seen);
  EXPECT_TRUE(seen.modal);
  EXPECT_EQ(seen.caption, QStringLiteral("File Selected"));
  EXPECT_EQ(seen.text, QStringLiteral("You double-clicked: pic.png"));
  EXPECT_FALSE(seen.has_icon);
  EXPECT_EQ(seen.buttons, 1);
}

TEST(MessageBox, LongTextIsCutToItsFirst65534Units) {
  for (const size_t length : {size_t{65535}, size_t{70000}}) {
    std::u16string text(length, u'x');
    text[65533] = u'a';
    SeenBox seen;
    CloseBoxSoon(seen, QMessageBox::Ok);
    MessageBoxShow(u"", text, 0);
    ASSERT_TRUE(seen.seen);
    if (length == 65535) {
      EXPECT_EQ(seen.text.size(), 65535);  // at the limit: shown whole
    } else {
      EXPECT_EQ(seen.text.size(), 65534);
      EXPECT_EQ(seen.text.back(), QChar(u'a'));
    }
  }
}

TEST(MessageBox, ButtonSetsAnswerWithTheButtonPressed) {
  SeenBox seen;
  CloseBoxSoon(seen, QMessageBox::No);
  EXPECT_EQ(MessageBoxShow(u"", u"?", kMessageBoxYesNo | kMessageBoxIconQuestion), kMessageBoxResultNo);
  EXPECT_EQ(seen.buttons, 2);
  EXPECT_TRUE(seen.has_icon);
  CloseBoxSoon(seen, QMessageBox::Cancel);
  EXPECT_EQ(MessageBoxShow(u"", u"?", kMessageBoxOkCancel), kMessageBoxResultCancel);
}

}  // namespace
