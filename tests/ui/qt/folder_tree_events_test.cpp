// What the user does with the mouse and keys on a folder tree, as the application
// sees it through EventWait.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "tests/ui/qt/folder_tree_test_support.h"

namespace {

namespace fs = std::filesystem;

using Seen = std::vector<SeenControlEvent>;
constexpr SeenControlEvent FromTree(int64_t detail) { return {1, 0, detail}; }

class FolderTreeEvents : public FolderTreeTest {
 protected:
  void SetUp() override {
    FolderTreeTest::SetUp();
    fs::create_directory(dir.Path("one"));
    fs::create_directory(dir.Path("one/inside"));
    fs::create_directory(dir.Path("two"));
    ASSERT_NE(Create(dir.Text() + u"/"), nullptr);
    folder = Tree()->currentItem();
    one = Child(folder, u"one");
    two = Child(folder, u"two");
    ASSERT_TRUE(one && two);
    DrainEvents();
  }
  // On the node's icon, scrolled into view. The tree scrolls to a node's row but not
  // sideways to it, and a node deep below the temporary folder is indented past the
  // tree's right edge, so the icon is brought in by hand.
  QPoint At(QTreeWidgetItem* node) {
    Tree()->scrollToItem(node);
    const QModelIndex index = Tree()->indexFromItem(node);
    QScrollBar* sideways = Tree()->horizontalScrollBar();
    sideways->setValue(sideways->value() + Tree()->visualRect(index).left());
    const QRect item = Tree()->visualRect(index);  // without the indentation
    return QPoint(item.left() + 4, item.center().y());
  }
  QWidget* View() { return Tree()->viewport(); }
  void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
    QMouseEvent event(type, QPointF(at), View()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(View(), &event);
  }

  QTreeWidgetItem* folder = nullptr;
  QTreeWidgetItem* one = nullptr;
  QTreeWidgetItem* two = nullptr;
};

TEST_F(FolderTreeEvents, ClicksSelectFirstThenReport) {
  QTest::mouseClick(View(), Qt::LeftButton, {}, At(one));
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange), FromTree(DetailLeftClick)}));
  EXPECT_EQ(ControlGetText(1), dir.Text("one/"));
  QTest::mouseClick(View(), Qt::LeftButton, {}, At(one));  // no change of selection
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailLeftClick)}));

  // The right button selects the node under the pointer, then reports its click.
  QTest::mouseClick(View(), Qt::RightButton, {}, At(two));
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange), FromTree(DetailRightClick)}));
  EXPECT_EQ(ControlGetText(1), dir.Text("two/"));
  // Ctrl with a click or the space bar keeps the node selected.
  QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, At(two));
  Tree()->setFocus();
  QTest::keyClick(Tree(), Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(ControlGetText(1), dir.Text("two/"));
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailLeftClick)}));
  // Below the last node: a click with nothing to select.
  Computer()->child(0)->setExpanded(false);  // which selects the drive around "two"
  DrainEvents();
  QTest::mouseClick(View(), Qt::RightButton, {}, QPoint(5, View()->height() - 2));
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailRightClick)}));
  EXPECT_EQ(ControlGetText(1), u"/");
}

TEST_F(FolderTreeEvents, DoubleClicksOpenAndReport) {
  Tree()->setCurrentItem(one);
  DrainEvents();
  const QPoint at = At(one);
  Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
  Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
  Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);  // the window system's order
  Send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
  Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
  // The release that ends the double-click is no click of its own; the opening that
  // the double-click caused reports nothing.
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailLeftClick), FromTree(DetailLeftDoubleClick)}));
  EXPECT_TRUE(one->isExpanded());
  EXPECT_EQ(ChildTexts(one), std::vector<std::u16string>{u"inside"});

  Send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, At(two));
  Send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, At(two));
  Send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, At(two));
  Send(QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, At(two));
  Send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, At(two));
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange), FromTree(DetailRightClick),
                                        FromTree(DetailRightDoubleClick), FromTree(DetailRightClick)}));
}

TEST_F(FolderTreeEvents, DragSelectsTheDraggedNodeAndReportsItOnce) {
  const QPoint from = At(two);
  Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
  DrainControlEvents();
  Tree()->setCurrentItem(one);  // moved away while the button is held
  DrainControlEvents();
  const QPoint far = from + QPoint(0, QApplication::startDragDistance() + 40);
  Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, far);
  Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, far + QPoint(0, 10));
  Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, far);
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange), FromTree(DetailDragStart)}));
  EXPECT_EQ(ControlGetText(1), dir.Text("two/"));
}

TEST_F(FolderTreeEvents, KeysAndOpeningNodes) {
  Tree()->setCurrentItem(one);
  DrainEvents();
  Tree()->setFocus();
  QTest::keyClick(Tree(), Qt::Key_Down);
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange)}));
  EXPECT_NE(ControlGetText(1), dir.Text("one/"));
  // Opening a node, by the program or by the keyboard, reports nothing.
  one->setExpanded(true);
  Tree()->setCurrentItem(two);
  DrainEvents();
  QTest::keyClick(Tree(), Qt::Key_Right);
  EXPECT_TRUE(DrainControlEvents().empty());

  // Closing a node around the selection selects that node; closing another does not.
  Tree()->setCurrentItem(one->child(0));
  DrainEvents();
  two->setExpanded(true);
  two->setExpanded(false);
  EXPECT_TRUE(DrainControlEvents().empty());
  folder->setExpanded(false);
  EXPECT_EQ(ControlGetText(1), dir.Text() + u"/");
  EXPECT_EQ(DrainControlEvents(), (Seen{FromTree(DetailChange)}));
}

}  // namespace
