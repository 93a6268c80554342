#pragma once
// A window with a folder tree, over a mount table and a home folder the test owns.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <cstdlib>
#include <string>

#include "fs/text_encoding.h"
#include "support/temp_folder.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/ui/test_window_flags.h"
#include "ui/control_register.h"
#include "ui/controls.h"
#include "ui/folder_tree.h"
#include "ui/mounted_drives.h"
#include "ui/top_level_windows.h"

class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The documents folder lies in the test's own home.
    saved_home_ = qgetenv("HOME");
    saved_config_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.Path("Documents").parent_path().string().c_str());
    qunsetenv("XDG_CONFIG_HOME");
    std::filesystem::create_directory(home.Path("Documents"));
    table = "/dev/vda / ext4 rw 0 0\n";
    MountedDrivesSourceSet([this] { return table; });
    ASSERT_NE(WindowCreate(0, 0, 0, 600, 600, u"", kTestWindowFlags), 0);
    DrainEvents();
  }
  void TearDown() override {
    WindowCloseAll();
    DrainEvents();
    MountedDrivesSourceSet(nullptr);
    qputenv("HOME", saved_home_);
    if (saved_config_.isNull())
      qunsetenv("XDG_CONFIG_HOME");
    else
      qputenv("XDG_CONFIG_HOME", saved_config_);
  }

  // The application's tree: number 1 at 10, 10, 200 x 300.
  QTreeWidget* Create(const std::u16string& path = u"", uint32_t flags = 0) {
    if (FolderTreeCreate(1, 10, 10, 200, 300, path, flags) == 0) return nullptr;
    return static_cast<QTreeWidget*>(ControlFind(1)->handle);
  }
  QTreeWidget* Tree() const { return static_cast<QTreeWidget*>(ControlFind(1)->handle); }
  QTreeWidgetItem* Computer() const { return Tree()->topLevelItem(0); }

  static std::u16string Text(const QTreeWidgetItem* node) { return node->text(0).toStdU16String(); }
  static std::vector<std::u16string> ChildTexts(const QTreeWidgetItem* node) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < node->childCount(); ++i) texts.push_back(Text(node->child(i)));
    return texts;
  }
  static QTreeWidgetItem* Child(const QTreeWidgetItem* node, const std::u16string& text) {
    for (int i = 0; i < node->childCount(); ++i)
      if (Text(node->child(i)) == text) return node->child(i);
    return nullptr;
  }
  // The text of a node once it is selected.
  std::u16string PathOf(QTreeWidgetItem* node) {
    Tree()->setCurrentItem(node);
    return ControlGetText(1);
  }

  TempFolder home;
  TempFolder dir;
  std::string table;  // the mount table the trees see

 private:
  QByteArray saved_home_;
  QByteArray saved_config_;
};
