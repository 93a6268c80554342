// The folder tree's shared model over a view of plain items that records what it is
// told to do, reading real folders made by each test: no display, no window system.
#include "ui/folder_tree_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fs/path_separator.h"
#include "support/temp_folder.h"
#include "ui/folder_tree.h"
#include "ui/folder_tree_nodes.h"

namespace {

struct Item {
  std::u16string text;
  bool open = false;
  bool has_children = false;
  Item* parent = nullptr;
  std::vector<std::unique_ptr<Item>> children;
};

// Drives by number with their roots (drive 0 the test's folder), and a documents
// folder. Changes are recorded as lines ("select a/", "report", "remove b/"), paths below
// drive 0's root. Like a window system's tree, it tells the tree of every change of its
// selection, and moves the selection away from items it takes away.
class RecordingView final : public FolderTreeView {
 public:
  explicit RecordingView(std::u16string drive_root) : drive_root_(drive_root) { roots[0] = std::move(drive_root); }

  DriveMask Drives() const override {
    DriveMask mask = 0;
    for (const auto& [drive, root] : roots) mask |= DriveMask{1} << drive;
    return mask;
  }
  std::u16string DriveRoot(int64_t drive) const override {
    const auto found = roots.find(drive);
    return found == roots.end() ? std::u16string() : found->second;
  }
  int64_t DriveOf(const std::u16string& path) const override {
    int64_t found = -1;
    for (const auto& [drive, root] : roots)
      if (path.starts_with(root) && (found < 0 || root.size() > roots.at(found).size())) found = drive;
    return found;
  }
  std::u16string DriveLabel(int64_t drive) const override {
    return u"drive " + std::u16string(1, static_cast<char16_t>(u'0' + drive));
  }
  const FolderTreePlaces& Places() const override { return places; }
  // Drives by number, before the documents node.
  bool DriveBefore(int64_t drive, const std::u16string&, const FolderTreeNode& other) const override {
    const int64_t kind = NodeKind(other.parameter);
    return !IsDriveKind(kind) || kind > drive;
  }
  bool SameName(const std::u16string& a, const std::u16string& b, bool ignore_case) const override {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
             return ignore_case ? lower(x) == lower(y) : x == y;
           });
  }
  void DrivesRead() override { record.push_back("drives read"); }

  const void* SelectedItem() const override { return selected_; }
  bool IsOpen(const void* item) const override { return At(item)->open; }
  void Clear() override {
    SelectionGoes(top_.get());
    top_.reset();
  }
  std::vector<const void*> Insert(const void* parent, size_t index, const std::u16string&,
                                  std::span<const FolderTreeNode* const> nodes) override {
    std::string line = "insert";
    std::vector<const void*> items;
    for (const FolderTreeNode* node : nodes) {
      auto item = std::make_unique<Item>();
      item->text = node->text;
      item->has_children = node->has_children;
      item->parent = At(parent);
      items.push_back(item.get());
      line += " " + Utf8(node->text);
      if (!parent) {
        top_ = std::move(item);
        continue;
      }
      auto& children = At(parent)->children;
      children.insert(children.begin() + static_cast<ptrdiff_t>(index++), std::move(item));
    }
    record.push_back(line);
    return items;
  }
  void Remove(const void* item) override {
    record.push_back("remove " + Shown(item));
    SelectionGoes(item);
    std::erase_if(At(item)->parent->children, [&](const auto& child) { return child.get() == item; });
  }
  void Renew(const void* item, const FolderTreeNode& node) override {
    record.push_back("renew " + Utf8(node.text));
    Item* at = At(item);
    at->open = false;
    for (const auto& child : at->children) SelectionGoes(child.get());
    at->children.clear();
    at->text = node.text;
    at->has_children = true;
  }
  void SetHasChildren(const void* item, bool children) override { At(item)->has_children = children; }
  void Open(const void* item) override { At(item)->open = true; }
  void ScrollIntoView(const void*) override {}
  void Select(const void* item) override {
    record.push_back("select " + Shown(item));
    selected_ = At(item);
    FolderTreeSelectionChanged(*tree);
  }
  void ReportChange() override { record.push_back("report"); }
  void Follow(const std::vector<std::u16string>& paths) override { followed = paths; }
  bool NoticeShow(int64_t drive, const std::u16string& title, const std::u16string& text) override {
    record.push_back("notice " + std::to_string(drive));
    notice = title + u": " + text;
    return true;
  }
  void NoticeHide() override { record.push_back("notice closed"); }

  // What the user does: opens an item (which stays closed when the tree refuses it),
  // closes one, selects one.
  void UserOpens(const FolderTreeNode* node) { At(node->item)->open = FolderTreeOpening(*tree, node->item); }
  void UserCloses(const FolderTreeNode* node) {
    At(node->item)->open = false;
    FolderTreeClosing(*tree, node->item);
  }
  void UserSelects(const FolderTreeNode* node) {
    selected_ = At(node->item);
    FolderTreeSelectionChanged(*tree);
  }
  // Whether the items show the tree's nodes: the same texts, buttons and order.
  bool ShowsTheNodes() const { return tree->root && Same(*tree->root, top_.get()); }

  FolderTree* tree = nullptr;
  std::vector<std::string> record;
  std::map<int64_t, std::u16string> roots;  // the drives present
  FolderTreePlaces places{u"Computer", u"Documents", u""};
  std::vector<std::u16string> followed;
  std::u16string notice;  // the last notice's title and text

 private:
  static Item* At(const void* item) { return const_cast<Item*>(static_cast<const Item*>(item)); }
  static std::string Utf8(const std::u16string& text) { return std::string(text.begin(), text.end()); }
  std::string Shown(const void* item) const {
    std::u16string path = FolderTreePath(*tree, FolderTreeNodeOf(*tree, item));
    if (path.starts_with(drive_root_)) path.erase(0, drive_root_.size());
    std::replace(path.begin(), path.end(), kFolderSeparator, u'/');
    return Utf8(path);
  }
  // An item taken away takes the selection inside it along; the tree hears of it.
  void SelectionGoes(const void* item) {
    for (const Item* at = selected_; at; at = at->parent)
      if (at == item) {
        selected_ = nullptr;
        FolderTreeSelectionChanged(*tree);
        return;
      }
  }
  static bool Same(const FolderTreeNode& node, const Item* item) {
    if (!item || node.item != item || node.text != item->text || node.has_children != item->has_children ||
        node.children.size() != item->children.size())
      return false;
    for (size_t i = 0; i < node.children.size(); ++i)
      if (!Same(*node.children[i], item->children[i].get())) return false;
    return true;
  }

  std::u16string drive_root_;
  std::unique_ptr<Item> top_;
  const Item* selected_ = nullptr;
};

// A tree over a recording view, with the view's members at hand and the tree's nodes
// found by path.
class RecordingNodes {
 public:
  explicit RecordingNodes(std::u16string drive_root, uint32_t flags = kFolderTreeSorted, bool follows = false)
      : tree_(std::make_unique<RecordingView>(std::move(drive_root)), flags, follows),
        view_(static_cast<RecordingView&>(*tree_.view)),
        record(view_.record),
        roots(view_.roots),
        documents(view_.places.documents_path),
        patterns(tree_.patterns) {
    view_.tree = &tree_;
    patterns = u"*.png";
  }

  operator FolderTree&() { return tree_; }
  RecordingView& view() { return view_; }
  FolderTreeNode* Root() const { return tree_.root.get(); }
  FolderTreeNode* Selected() const { return FolderTreeSelected(tree_); }
  bool IsOpen(const FolderTreeNode* node) const { return view_.IsOpen(node->item); }
  int64_t Parameter(const FolderTreeNode* node) const { return node->parameter; }
  int64_t NoticeDrive() const { return tree_.notice_drive; }
  void SelectQuietly(const FolderTreeNode* node) { view_.UserSelects(node); }

  // The node at a path below drive 0's root ("a/b/"; "" the drive); null for none.
  FolderTreeNode* Find(const std::string& below) const {
    std::u16string path = view_.roots.at(0) + std::u16string(below.begin(), below.end());
    std::replace(path.begin() + static_cast<ptrdiff_t>(view_.roots.at(0).size()), path.end(), u'/', kFolderSeparator);
    return Find(tree_.root.get(), path);
  }
  // The node of a drive or the documents under the computer node; null for none.
  FolderTreeNode* Top(int64_t kind) const {
    for (const auto& child : tree_.root->children)
      if (NodeKind(child->parameter) == kind) return child.get();
    return nullptr;
  }
  // The texts of a node's children, as shown: "name/" for a folder.
  static std::vector<std::string> Names(const FolderTreeNode* node) {
    std::vector<std::string> names;
    for (const auto& child : node->children)
      names.push_back(std::string(child->text.begin(), child->text.end()) +
                      (NodeKind(child->parameter) == kNodeFolder ? "/" : ""));
    return names;
  }
  static bool HasChildren(const FolderTreeNode* node) { return node->has_children; }

 private:
  FolderTreeNode* Find(FolderTreeNode* node, const std::u16string& path) const {
    if (!node) return nullptr;
    if (node != tree_.root.get() && FolderTreePath(tree_, node) == path) return node;
    for (const auto& child : node->children)
      if (FolderTreeNode* found = Find(child.get(), path)) return found;
    return nullptr;
  }

  FolderTree tree_;
  RecordingView& view_;

 public:
  std::vector<std::string>& record;
  std::map<int64_t, std::u16string>& roots;
  std::u16string& documents;
  std::u16string& patterns;
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
  FolderTreeRebuild(nodes);
  nodes.record.clear();
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
  EXPECT_EQ(nodes.record,
            (std::vector<std::string>{"insert notes Photos", "insert 2024 a.png", "select Photos/2024/", "report"}));
  EXPECT_TRUE(nodes.IsOpen(nodes.Find("")));
  ASSERT_NE(nodes.Find("Photos/"), nullptr);
  EXPECT_TRUE(nodes.IsOpen(nodes.Find("Photos/")));
  EXPECT_EQ(nodes.Selected(), nodes.Find("Photos/2024/"));
  // Sorted: folders first, by name; files after them; only those that match.
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")), (std::vector<std::string>{"2024/", "a.png"}));

  // Where it is already selected nothing is reported again.
  nodes.record.clear();
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
  EXPECT_EQ(nodes.record, std::vector<std::string>{});

  // Closing a node around the selection moves it there, reported; closing the selected
  // node itself, or one beside it, changes nothing.
  nodes.view().UserCloses(nodes.Find("notes/"));
  nodes.view().UserCloses(nodes.Find("Photos/"));
  nodes.view().UserCloses(nodes.Find("Photos/"));
  EXPECT_EQ(nodes.record, (std::vector<std::string>{"select Photos/", "report"}));
}

TEST_F(FolderTreeModel, ANameWithoutItsCaseStillLeadsToTheFolder) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("NOTES/"));
  EXPECT_EQ(nodes.Selected(), nodes.Find("notes/"));
  EXPECT_EQ(nodes.record.back(), "report");
}

TEST_F(FolderTreeModel, AWayThatEndsSelectsNothing) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/missing/deeper/"));
  EXPECT_EQ(nodes.Selected(), nullptr);
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "report"), 0);
  // A drive the tree has no node for leads nowhere either.
  nodes.roots[5] = folder.Text() + u"-elsewhere" + kFolderSeparator;
  FolderTreeGoTo(nodes, nodes.roots[5] + u"Photos" + kFolderSeparator);
  EXPECT_EQ(nodes.Selected(), nullptr);
}

TEST_F(FolderTreeModel, RefreshPutsNewEntriesInTheirPlacesAndKeepsTheRest) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
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
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/"));
  std::filesystem::create_directories(folder.Path("Photos/0000"));
  folder.Put("Photos/0.png", "");
  EXPECT_TRUE(FolderTreeNodeRefresh(nodes, nodes.Find("Photos/")));
  const std::vector<std::string> names = nodes.Names(nodes.Find("Photos/"));
  EXPECT_EQ(names, (std::vector<std::string>{"2024/", "0000/", "a.png", "0.png"}));
}

TEST_F(FolderTreeModel, ASelectionInsideWhatIsGoneMovesUpAndIsReportedOnce) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
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
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
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
  FolderTreeRebuild(nodes);
  EXPECT_EQ(FolderTreeOpenPaths(nodes), std::vector<std::u16string>{});
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
  EXPECT_EQ(FolderTreeOpenPaths(nodes), (std::vector<std::u16string>{Root(), Below("Photos/"), Below("Photos/2024/")}));
}

TEST_F(FolderTreeModel, ARebuildShowsTheDrivesInTheirOrderThenTheDocuments) {
  RecordingNodes nodes(Root());
  nodes.roots[3] = Below("Photos/");
  nodes.documents = Below("notes/");
  FolderTreeRebuild(nodes);
  EXPECT_EQ(nodes.record,
            (std::vector<std::string>{"insert Computer", "insert drive 0", "insert drive 3", "insert Documents"}));
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 0", "drive 3", "Documents"}));
  EXPECT_TRUE(nodes.IsOpen(nodes.Root()));
  EXPECT_EQ(FolderTreePath(nodes, nodes.Root()), u"");
  EXPECT_EQ(FolderTreePath(nodes, nodes.Top(3)), Below("Photos/"));
  // The documents node stands for its folder, and so do the nodes below it.
  ASSERT_TRUE(FolderTreeFill(nodes, nodes.Top(kNodeDocuments)));
  EXPECT_EQ(FolderTreePath(nodes, nodes.Top(kNodeDocuments)), Below("notes/"));
  // It promised children; filled with nothing to show, it loses its button.
  EXPECT_FALSE(RecordingNodes::HasChildren(nodes.Top(kNodeDocuments)));

  // Left out by the flags, or when there is no documents folder.
  RecordingNodes without(Root(), kFolderTreeNoDocuments);
  without.documents = Below("notes/");
  FolderTreeRebuild(without);
  EXPECT_EQ(without.Names(without.Root()), std::vector<std::string>{"drive 0"});
  nodes.documents.clear();
  FolderTreeRebuild(nodes);
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 0", "drive 3"}));
}

TEST_F(FolderTreeModel, OpeningFillsOnceAndAnEmptyFolderLosesItsButton) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("notes/"));
  const FolderTreeNode* notes = nodes.Find("notes/");
  ASSERT_NE(notes, nullptr);
  EXPECT_TRUE(IsFilled(nodes.Parameter(notes)));
  EXPECT_FALSE(RecordingNodes::HasChildren(notes));
  FolderTreeNode* photos = nodes.Find("Photos/");
  EXPECT_TRUE(RecordingNodes::HasChildren(photos));
  EXPECT_FALSE(IsFilled(nodes.Parameter(photos)));
  ASSERT_TRUE(FolderTreeFill(nodes, photos));
  nodes.record.clear();
  // Filled already: a file added since shows only when the folder is read again.
  folder.Put("Photos/new.png", "");
  EXPECT_TRUE(FolderTreeFill(nodes, photos));
  EXPECT_EQ(nodes.record, std::vector<std::string>{});
  EXPECT_EQ(nodes.Names(photos), (std::vector<std::string>{"2024/", "a.png"}));
  // Files report 1, other nodes 2, no selection 0; the text is the node's path.
  FolderTreeGoTo(nodes, Below("Photos/"));
  EXPECT_EQ(FolderTreeSelectedState(nodes), 2);
  nodes.SelectQuietly(nodes.Find("Photos/a.png"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/a.png"));
  EXPECT_EQ(FolderTreeSelectedState(nodes), 1);
  FolderTreeRebuild(nodes);
  EXPECT_EQ(FolderTreeSelectedState(nodes), 0);
  EXPECT_EQ(FolderTreeSelectedPath(nodes), u"");
}

TEST_F(FolderTreeModel, TextsChangePatternsAndGoBackToTheSelection) {
  RecordingNodes nodes(Root());
  FolderTreeTextSet(nodes, u"");
  FolderTreeTextSet(nodes, Below("Photos/"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/"));
  // A pattern list alone: rebuilt, and back where it was, with the new files shown.
  FolderTreeTextSet(nodes, u"*.txt");
  EXPECT_EQ(nodes.patterns, u"*.txt");
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/"));
  ASSERT_NE(nodes.Find("Photos/"), nullptr);
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")), (std::vector<std::string>{"2024/", "b.txt"}));
  // A path with a pattern list: the folder before it.
  FolderTreeTextSet(nodes, Below("Photos/2024/*.png"));
  EXPECT_EQ(nodes.patterns, u"*.png");
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/2024/"));
  // A way that ends keeps the selection.
  FolderTreeTextSet(nodes, Below("missing/"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/2024/"));
}

TEST_F(FolderTreeModel, DrivesArriveInTheirPlaceAndGoWithTheSelectionInsideThem) {
  RecordingNodes nodes(Root());
  nodes.roots[3] = folder.Text() + u"-three" + kFolderSeparator;
  nodes.documents = Below("notes/");
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("Photos/2024/"));
  nodes.roots[2] = folder.Text() + u"-two" + kFolderSeparator;
  FolderTreeDrivesArrived(nodes, DriveMask{1} << 2);
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 0", "drive 2", "drive 3", "Documents"}));

  // Another volume in drive 0: its node closes and forgets what it showed; the
  // selection inside moves onto it, reported once.
  const FolderTreeNode* first = nodes.Top(0);
  nodes.record.clear();
  FolderTreeDrivesGone(nodes, DriveMask{1});
  EXPECT_EQ(nodes.record, (std::vector<std::string>{"select ", "report", "renew drive 0"}));
  EXPECT_EQ(nodes.Top(0), first);
  EXPECT_EQ(nodes.Selected(), first);
  EXPECT_EQ(nodes.Parameter(first), 0);
  EXPECT_TRUE(first->children.empty());
  EXPECT_TRUE(RecordingNodes::HasChildren(first));
  EXPECT_FALSE(nodes.IsOpen(first));
  // Opened again, it is read anew.
  FolderTreeGoTo(nodes, Below("Photos/"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/"));

  // A drive gone without the selection: only its node goes.
  nodes.roots.erase(3);
  nodes.record.clear();
  FolderTreeDrivesGone(nodes, 0);
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 0", "drive 2", "Documents"}));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/"));
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "report"), 0);
  // With it: the selection goes to the computer node, reported. Until its node goes,
  // a node on it has no path.
  FolderTreeNode* photos = nodes.Find("Photos/");
  nodes.roots.erase(0);
  EXPECT_EQ(FolderTreePath(nodes, photos), u"");
  nodes.record.clear();
  FolderTreeDrivesGone(nodes, 0);
  EXPECT_EQ(nodes.Selected(), nodes.Root());
  EXPECT_EQ(nodes.record, (std::vector<std::string>{"select ", "report", "remove "}));
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 2", "Documents"}));
}

TEST_F(FolderTreeModel, ADriveNotReadyBringsTheNoticeUntilItArrives) {
  RecordingNodes nodes(Root());
  nodes.roots[1] = folder.Text() + u"-absent" + kFolderSeparator;
  FolderTreeRebuild(nodes);
  nodes.record.clear();
  EXPECT_FALSE(FolderTreeFill(nodes, nodes.Top(1)));
  EXPECT_EQ(nodes.record, std::vector<std::string>{"notice 1"});
  // Titled with the drive's label; the drive named by its root, without the separator.
  EXPECT_EQ(nodes.view().notice, u"drive 1: The drive " + folder.Text() +
                                     u"-absent cannot be read.\n\nInsert its medium or connect its device, then open "
                                     u"the drive again.");
  EXPECT_FALSE(IsFilled(nodes.Parameter(nodes.Top(1))));
  // Another drive arriving leaves it open; this one closes it.
  FolderTreeDrivesArrived(nodes, DriveMask{1});
  EXPECT_EQ(nodes.NoticeDrive(), 1);
  FolderTreeDrivesArrived(nodes, DriveMask{1} << 1);
  EXPECT_EQ(nodes.NoticeDrive(), -1);
  // A navigation closes it as well.
  EXPECT_FALSE(FolderTreeFill(nodes, nodes.Top(1)));
  FolderTreeTextSet(nodes, Below("notes/"));
  EXPECT_EQ(nodes.NoticeDrive(), -1);
  // Closed by the user, it is not closed again.
  EXPECT_FALSE(FolderTreeFill(nodes, nodes.Top(1)));
  FolderTreeNoticeGone(nodes);
  EXPECT_EQ(nodes.NoticeDrive(), -1);
  nodes.record.clear();
  FolderTreeTextSet(nodes, Below("notes/"));
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "notice closed"), 0);

  // Left out by the flags.
  RecordingNodes quiet(Root(), kFolderTreeNoNotice);
  quiet.roots[1] = nodes.roots[0] + u"absent" + kFolderSeparator;
  FolderTreeRebuild(quiet);
  EXPECT_FALSE(FolderTreeFill(quiet, quiet.Top(1)));
  EXPECT_EQ(quiet.NoticeDrive(), -1);
}

TEST_F(FolderTreeModel, AFolderClosedWhileFollowedIsReadAgainAsItOpens) {
  for (const bool follows : {true, false}) {
    RecordingNodes nodes(Root(), kFolderTreeSorted, follows);
    FolderTreeStart(nodes, Below("Photos/"));
    FolderTreeNode* photos = nodes.Find("Photos/");
    ASSERT_NE(photos, nullptr);
    // Only the open folders are followed, and only where the system reports changes.
    const std::vector<std::u16string> open = {Root(), Below("Photos/")};
    EXPECT_EQ(nodes.view().followed, follows ? open : std::vector<std::u16string>{});
    nodes.view().UserCloses(photos);
    EXPECT_EQ(nodes.view().followed, follows ? std::vector<std::u16string>{Root()} : std::vector<std::u16string>{});
    folder.Put("Photos/later.png", "");
    nodes.view().UserOpens(photos);
    // Unfollowed while closed, it is read again; never followed, it stays as it was filled.
    const std::vector<std::string> reread = {"2024/", "a.png", "later.png"}, kept = {"2024/", "a.png"};
    EXPECT_EQ(nodes.Names(photos), follows ? reread : kept) << "follows " << follows;
    EXPECT_TRUE(nodes.view().ShowsTheNodes());
    std::filesystem::remove(folder.Path("Photos/later.png"));
  }
}

TEST_F(FolderTreeModel, AnExactNameWinsOverOneThatDiffersInCase) {
  if (!std::filesystem::create_directory(folder.Path("photos")))
    GTEST_SKIP() << "the file system does not tell names apart by case";
  RecordingNodes nodes(Root());
  FolderTreeStart(nodes, Below("photos/"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("photos/"));
  FolderTreeTextSet(nodes, Below("Photos/2024/"));
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/2024/"));
}

TEST_F(FolderTreeModel, TheUsersSelectionIsReportedAndTheTreesOwnChangesAreNot) {
  RecordingNodes nodes(Root());
  FolderTreeRebuild(nodes);
  nodes.record.clear();
  nodes.view().UserSelects(nodes.Top(0));
  EXPECT_EQ(nodes.record, std::vector<std::string>{"report"});
  // A drive counts as selected before it was ever opened, drive 0 too.
  EXPECT_EQ(FolderTreeSelectedState(nodes), 2);
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Root());
  // Taking the selection away with the nodes, the tree says nothing of it.
  nodes.record.clear();
  FolderTreeRebuild(nodes);
  FolderTreeGoTo(nodes, Below("notes/"));
  nodes.roots.erase(0);
  FolderTreeDrivesGone(nodes, 0);
  EXPECT_EQ(nodes.record, (std::vector<std::string>{"insert Computer", "insert drive 0", "insert notes Photos",
                                                    "select notes/", "report", "select ", "report", "remove "}));
  EXPECT_TRUE(nodes.view().ShowsTheNodes());
}

TEST_F(FolderTreeModel, ARefreshReadsTheDrivesAndTheOpenFoldersKeepingTheSelection) {
  RecordingNodes nodes(Root());
  FolderTreeStart(nodes, Below("Photos/2024/"));
  nodes.roots[4] = folder.Text() + u"-four" + kFolderSeparator;
  std::filesystem::create_directories(folder.Path("Photos/2024/inner"));
  folder.Put("Photos/c.png", "");
  std::filesystem::remove_all(folder.Path("notes"));
  nodes.record.clear();
  FolderTreeRefreshAll(nodes);
  EXPECT_EQ(nodes.record.front(), "drives read");
  EXPECT_EQ(nodes.Names(nodes.Root()), (std::vector<std::string>{"drive 0", "drive 4"}));
  EXPECT_EQ(nodes.Names(nodes.Find("")), std::vector<std::string>{"Photos/"});
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/")), (std::vector<std::string>{"2024/", "a.png", "c.png"}));
  EXPECT_EQ(nodes.Names(nodes.Find("Photos/2024/")), std::vector<std::string>{"inner/"});
  EXPECT_EQ(FolderTreeSelectedPath(nodes), Below("Photos/2024/"));
  EXPECT_EQ(std::count(nodes.record.begin(), nodes.record.end(), "report"), 0);
  EXPECT_TRUE(nodes.view().ShowsTheNodes());
}

TEST(FolderTreeRequest, TextsSayWhatTheTreeIsToDo) {
  // A lone backslash names no folder where it is the separator: it rebuilds.
  const FolderTreeRequest backslash = FolderTreeRequestOf(u"\\", u'\\');
  EXPECT_TRUE(backslash.rebuild);
  EXPECT_TRUE(backslash.target.empty());
  // A lone slash is the root folder.
  const FolderTreeRequest slash = FolderTreeRequestOf(u"/", u'/');
  EXPECT_FALSE(slash.rebuild);
  EXPECT_EQ(slash.target, u"/");
  const FolderTreeRequest patterned = FolderTreeRequestOf(u"C:\\a\\*.png", u'\\');
  EXPECT_TRUE(patterned.rebuild && patterned.new_patterns && !patterned.to_selection);
  EXPECT_EQ(patterned.target, u"C:\\a\\");
  EXPECT_EQ(patterned.patterns, u"*.png");
  const FolderTreeRequest list = FolderTreeRequestOf(u"*.png;*.jpg", u'/');
  EXPECT_TRUE(list.rebuild && list.new_patterns && list.to_selection);
  EXPECT_EQ(list.patterns, u"*.png;*.jpg");
}

}  // namespace
