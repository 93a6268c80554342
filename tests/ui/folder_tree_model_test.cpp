// The folder tree's shared model over a tree of plain nodes that records what it is
// told to do, reading real folders made by each test: no display, no window system.
#include "ui/folder_tree_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fs/path_separator.h"
#include "support/temp_folder.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_nodes.h"

namespace {

struct Node {
  int64_t parameter = 0;
  std::u16string text;
  bool open = false;
  bool has_children = false;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
};

// The computer node with one drive, whose root is the test's folder. Changes are
// recorded as lines ("select a/", "report", "remove b/"), paths below the drive's root.
class RecordingNodes final : public FolderTreeNodes {
 public:
  explicit RecordingNodes(std::u16string drive_root, uint32_t flags = kFolderTreeSorted)
      : drive_root_(std::move(drive_root)), flags_(flags) {
    root_.parameter = kComputerParameter;
    root_.open = true;
    auto drive = std::make_unique<Node>();
    drive->parameter = 0;
    drive->text = u"drive";
    drive->has_children = true;
    drive->parent = &root_;
    root_.children.push_back(std::move(drive));
  }

  TreeNode Root() const override { return &root_; }
  std::vector<TreeNode> Children(TreeNode node) const override {
    std::vector<TreeNode> children;
    for (const auto& child : At(node)->children) children.push_back(child.get());
    return children;
  }
  TreeNode Parent(TreeNode node) const override { return At(node)->parent; }
  int64_t Parameter(TreeNode node) const override { return At(node)->parameter; }
  std::u16string Text(TreeNode node) const override { return At(node)->text; }
  bool IsOpen(TreeNode node) const override { return At(node)->open; }
  TreeNode Selected() const override { return selected_; }
  std::u16string Path(TreeNode node) const override {
    std::u16string path;
    for (const Node* at = At(node); at && at != &root_; at = at->parent) {
      const int64_t kind = NodeKind(at->parameter);
      if (kind == kNodeFolder) path = at->text + kFolderSeparator + path;
      if (kind == kNodeFile) path = at->text;
      if (IsDriveKind(kind)) path = drive_root_ + path;
    }
    return path;
  }
  FolderReadRules Rules() const override { return FolderReadRulesFor(flags_, u"*.png", kFolderSeparator); }
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
             return ignore_case ? lower(x) == lower(y) : x == y;
           });
  }

  void Insert(TreeNode parent, size_t index, int64_t kind, const std::u16string&, const std::u16string& name,
              bool children) override {
    auto node = std::make_unique<Node>();
    node->parameter = kind;
    node->text = name;
    node->has_children = children;
    node->parent = At(parent);
    record.push_back("insert " + Shown(node.get()) + " at " + std::to_string(index));
    At(parent)->children.insert(At(parent)->children.begin() + static_cast<ptrdiff_t>(index), std::move(node));
  }
  void Remove(TreeNode node) override {
    record.push_back("remove " + Shown(node));
    std::vector<std::unique_ptr<Node>>& siblings = At(node)->parent->children;
    // A selection taken away goes with it.
    for (const Node* at = selected_; at; at = at->parent)
      if (at == node) selected_ = nullptr;
    std::erase_if(siblings, [&](const std::unique_ptr<Node>& child) { return child.get() == node; });
  }
  void SetHasChildren(TreeNode node, bool children) override { At(node)->has_children = children; }
  bool Fill(TreeNode node) override {
    Node* at = At(node);
    if (IsFilled(at->parameter)) return true;
    const std::u16string path = Path(node);
    const FolderReadRules rules = Rules();
    const FolderContents contents = FolderRead(rules, path);
    if (!contents.readable) return false;
    record.push_back("fill " + Shown(node));
    for (const std::u16string& name : contents.folders)
      at->children.push_back(Made(at, kNodeFolder, name, FolderShowsChildren(rules, path + name + rules.separator)));
    for (const std::u16string& name : contents.files) at->children.push_back(Made(at, kNodeFile, name, false));
    at->parameter |= FilledMark;
    return true;
  }
  void Open(TreeNode node) override { At(node)->open = true; }
  void SelectQuietly(TreeNode node) override {
    record.push_back("select " + Shown(node));
    selected_ = At(node);
  }
  void ScrollIntoView(TreeNode) override {}
  void ReportChange() override { record.push_back("report"); }

  // The node at a path below the drive's root ("a/b/"; "" the drive); null for none.
  TreeNode Find(const std::string& below) const {
    std::u16string path = drive_root_ + std::u16string(below.begin(), below.end());
    std::replace(path.begin() + static_cast<ptrdiff_t>(drive_root_.size()), path.end(), u'/', kFolderSeparator);
    TreeNode found = nullptr;
    Visit(root_.children.front().get(), [&](const Node* node) {
      if (Path(node) == path) found = node;
    });
    return found;
  }
  // The names under a node, as shown: "name/" for a folder.
  std::vector<std::string> Names(TreeNode node) const {
    std::vector<std::string> names;
    for (const auto& child : At(node)->children)
      names.push_back(Utf8(child->text) + (NodeKind(child->parameter) == kNodeFolder ? "/" : ""));
    return names;
  }
  static bool HasChildren(TreeNode node) { return At(node)->has_children; }

  std::vector<std::string> record;

 private:
  static Node* At(TreeNode node) { return const_cast<Node*>(static_cast<const Node*>(node)); }
  static std::string Utf8(const std::u16string& text) { return std::string(text.begin(), text.end()); }
  std::string Shown(TreeNode node) const {
    std::u16string path = Path(node);
    path.erase(0, std::min(path.size(), drive_root_.size()));
    std::replace(path.begin(), path.end(), kFolderSeparator, u'/');
    return Utf8(path);
  }
  static std::unique_ptr<Node> Made(Node* parent, int64_t kind, const std::u16string& name, bool children) {
    auto node = std::make_unique<Node>();
    node->parameter = kind;
    node->text = name;
    node->has_children = children;
    node->parent = parent;
    return node;
  }
  template <typename F>
  static void Visit(const Node* node, const F& visit) {
    visit(node);
    for (const auto& child : node->children) Visit(child.get(), visit);
  }

  Node root_;
  std::u16string drive_root_;
  uint32_t flags_;
  const Node* selected_ = nullptr;
};

class FolderTreeModel : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder.Path("Photos/2024"));
    std::filesystem::create_directories(folder.Path("notes"));
    folder.Put("Photos/a.png", "");
    folder.Put("Photos/b.txt", "");  // not one of the patterns
  }
  std::u16string Root() const { return folder.Text() + kFolderSeparator; }
  std::u16string Below(const std::string& path) const {
    std::u16string text = Root() + std::u16string(path.begin(), path.end());
    std::replace(text.begin(), text.end(), u'/', kFolderSeparator);
    return text;
  }

  TempFolder folder;
};

TEST_F(FolderTreeModel, GoingToAFolderOpensTheWayAndSelectsIt) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  EXPECT_EQ(nodes.record,
            (std::vector<std::string>{"fill ", "fill Photos/", "fill Photos/2024/", "select Photos/2024/", "report"}));
  EXPECT_TRUE(nodes.IsOpen(nodes.Find("")));
  ASSERT_NE(nodes.Find("Photos/"), nullptr);
  EXPECT_TRUE(nodes.IsOpen(nodes.Find("Photos/")));
  EXPECT_EQ(nodes.Selected(), nodes.Find("Photos/2024/"));
  // Sorted: folders first, by name; files after them; only those that match.
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")), (std::vector<std::string>{"2024/", "a.png"}));

  // Where it is already selected nothing is reported again.
  nodes.record.clear();
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  EXPECT_EQ(nodes.record, std::vector<std::string>{});
}

TEST_F(FolderTreeModel, ANameWithoutItsCaseStillLeadsToTheFolder) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("NOTES/"));
  EXPECT_EQ(nodes.Selected(), nodes.Find("notes/"));
  EXPECT_EQ(nodes.record.back(), "report");
}

TEST_F(FolderTreeModel, AWayThatEndsSelectsNothing) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/missing/deeper/"));
  EXPECT_EQ(nodes.Selected(), nullptr);
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "report"), 0);
  // A drive the tree has no node for leads nowhere either.
  FolderTreeGoTo(nodes, 5, Root(), Below("Photos/"));
  EXPECT_EQ(nodes.Selected(), nullptr);
}

TEST_F(FolderTreeModel, RefreshPutsNewEntriesInTheirPlacesAndKeepsTheRest) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  std::filesystem::create_directories(folder.Path("Photos/2023/inner"));
  std::filesystem::create_directories(folder.Path("Photos/2025"));
  folder.Put("Photos/0.png", "");
  folder.Put("Photos/z.png", "");
  nodes.record.clear();
  EXPECT_TRUE(FolderTreeNodeRefresh(nodes, nodes.Find("Photos/")));
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")),
            (std::vector<std::string>{"2023/", "2024/", "2025/", "0.png", "a.png", "z.png"}));
  EXPECT_TRUE(RecordingNodes::HasChildren(nodes.Find("Photos/2023/")));
  EXPECT_FALSE(RecordingNodes::HasChildren(nodes.Find("Photos/2025/")));
  // The selected node stays, open and selected, and nothing is reported.
  EXPECT_EQ(nodes.Selected(), nodes.Find("Photos/2024/"));
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "report"), 0);
  EXPECT_EQ(std::count_if(nodes.record.begin(), nodes.record.end(),
                          [](const std::string& line) { return line.starts_with("remove"); }),
            0);
}

TEST_F(FolderTreeModel, AnUnsortedTreePutsNewEntriesAfterTheOthersOfTheirKind) {
  RecordingNodes nodes(Root(), 0);
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/"));
  std::filesystem::create_directories(folder.Path("Photos/0000"));
  folder.Put("Photos/0.png", "");
  EXPECT_TRUE(FolderTreeNodeRefresh(nodes, nodes.Find("Photos/")));
  const std::vector<std::string> names = nodes.Names(nodes.Find("Photos/"));
  EXPECT_EQ(names, (std::vector<std::string>{"2024/", "0000/", "a.png", "0.png"}));
}

TEST_F(FolderTreeModel, ASelectionInsideWhatIsGoneMovesUpAndIsReportedOnce) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  std::filesystem::remove_all(folder.Path("Photos/2024"));
  std::filesystem::remove(folder.Path("Photos/a.png"));
  nodes.record.clear();
  // The selected folder itself cannot be read: its nearest parent that can is.
  FolderTreeRefreshPaths(nodes, {Below("Photos/2024/")});
  EXPECT_EQ(nodes.record,
            (std::vector<std::string>{"remove Photos/2024/", "remove Photos/a.png", "select Photos/", "report"}));
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")), std::vector<std::string>{});
  EXPECT_FALSE(RecordingNodes::HasChildren(nodes.Find("Photos/")));
}

TEST_F(FolderTreeModel, AFolderThatCannotBeListedChangesNothing) {
  RecordingNodes nodes(Root());
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  std::filesystem::remove_all(folder.Path("Photos"));
  nodes.record.clear();
  EXPECT_FALSE(FolderTreeNodeRefresh(nodes, nodes.Find("Photos/")));
  EXPECT_EQ(nodes.record, std::vector<std::string>{});
  // Nor does an unfilled node: it is read when it is first opened.
  EXPECT_TRUE(FolderTreeNodeRefresh(nodes, nodes.Find("notes/")));
  EXPECT_EQ(nodes.record, std::vector<std::string>{});
}

TEST_F(FolderTreeModel, OpenPathsAreTheOpenFilledNodesFromTheTopDown) {
  RecordingNodes nodes(Root());
  EXPECT_EQ(FolderTreeOpenPaths(nodes), std::vector<std::u16string>{});
  FolderTreeGoTo(nodes, 0, Root(), Below("Photos/2024/"));
  EXPECT_EQ(FolderTreeOpenPaths(nodes), (std::vector<std::u16string>{Root(), Below("Photos/"), Below("Photos/2024/")}));
}

}  // namespace
