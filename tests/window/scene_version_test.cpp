// The process button's menu: which POV-Ray the window writes its scenes for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <string>

#include "app/scene/scene_format.h"
#include "app/window/scene_version_choice.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/settings.h"
#include "window_driver.h"

namespace {

// The choice is kept for the user; every other test expects the standard scene.
struct StandardSceneAfterwards {
  ~StandardSceneAfterwards() { SettingsWrite(u"PovVersion", u""); }
};

QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

// Picks the menu's item with the text, as the keyboard does.
void Pick(const QString& text) {
  QMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions()) {
    if (action->text() == text) menu->setActiveAction(action);
  }
  QTest::keyClick(menu, Qt::Key_Return);
}

void AskForTheMenu() {
  QContextMenuEvent asked(QContextMenuEvent::Keyboard, QPoint(5, 5));
  QApplication::sendEvent(WindowDriver::Control(kProcessButton), &asked);
}

}  // namespace

TEST(SceneVersion, TheProcessButtonsMenuChoosesThePovRay37SceneAndTheChoiceIsKept) {
  const StandardSceneAfterwards restore;
  TempFolder folder;
  folder.Put("a.png", EncodeTestPng(3, 2));
  std::vector<std::string> items;
  std::vector<bool> checks;
  WindowDriver driver;
  driver.Then([&] { WindowDriver::Select(folder.Text() + u"/"); })
      .Then(AskForTheMenu)
      .When([] { return OpenMenu() != nullptr; },
            [&] {
              ASSERT_NE(OpenMenu(), nullptr);
              for (const QAction* action : OpenMenu()->actions()) {
                items.push_back(action->text().toStdString());
                checks.push_back(action->isChecked());
              }
              Pick("Scene for POV-Ray 3.7");
            })
      .When([] { return OpenMenu() == nullptr; }, [] { WindowDriver::Click(kProcessButton); })
      .Then([] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(driver.Run(), 0);
  EXPECT_EQ(items, (std::vector<std::string>{"Scene for POV-Ray 3.8 (standard)", "Scene for POV-Ray 3.7"}));
  EXPECT_EQ(checks, (std::vector<bool>{true, false}));
  const std::string scene = folder.Get("image_scan.pov");
  const std::string_view header = SceneBlocksFor(PovVersion::Pov37).header;
  EXPECT_EQ(scene.substr(0, header.size()), header);
  EXPECT_NE(scene.find("add_image ( \"a.png\", 3, 2 )"), std::string::npos);
  EXPECT_EQ(WindowSceneVersion(), PovVersion::Pov37);

  // Closed without a choice, the menu changes nothing; the standard scene comes back.
  WindowDriver again;
  again.Then(AskForTheMenu)
      .When([] { return OpenMenu() != nullptr; },
            [] {
              ASSERT_NE(OpenMenu(), nullptr);
              QTest::keyClick(OpenMenu(), Qt::Key_Escape);
            })
      .When([] { return OpenMenu() == nullptr; }, [] { EXPECT_EQ(WindowSceneVersion(), PovVersion::Pov37); })
      .Then(AskForTheMenu)
      .When([] { return OpenMenu() != nullptr; }, [] { Pick("Scene for POV-Ray 3.8 (standard)"); })
      .When([] { return OpenMenu() == nullptr; }, [] { WindowDriver::Click(kQuitButton); });
  EXPECT_EQ(again.Run(), 0);
  EXPECT_EQ(WindowSceneVersion(), PovVersion::Pov38);
}
