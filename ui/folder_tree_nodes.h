#pragma once
// What a folder tree's nodes are and what a text given to the tree asks of it; shared
// by the platforms' folder trees.
#include <cstdint>
#include <string>

// Every node carries a parameter whose low byte is its kind: 0 to 31 a drive (its
// number, 0 for A on Windows), or one of these.
inline constexpr int64_t kNodeComputer = 0xFB;
inline constexpr int64_t kNodeFolder = 0xFC;
inline constexpr int64_t kNodeDocuments = 0xFD;
inline constexpr int64_t kNodeFile = 0xFF;
// The computer node's children are put in as the tree is built: it counts as filled.
inline constexpr int64_t kComputerParameter = 0xFFFB;
// Added to a node's parameter once its children are filled in; it is not filled again.
inline constexpr int64_t FilledMark = 0xFF00;
inline constexpr int64_t kTreeDrives = 32;
// Drives by their numbers: bit i stands for drive i.
using DriveMask = uint32_t;

// The texts of the computer and the documents nodes where the system gives none.
inline constexpr char16_t kComputerLabel[] = u"My Computer";
inline constexpr char16_t kDocumentsLabel[] = u"My Documents";

// The computer's and the documents' nodes as the system names them, and the documents
// folder, ending in the separator (empty when it is not shown).
struct FolderTreePlaces {
  std::u16string computer_label = kComputerLabel;
  std::u16string documents_label = kDocumentsLabel;
  std::u16string documents_path;
};

constexpr int64_t NodeKind(int64_t parameter) { return parameter & 0xFF; }
constexpr bool IsDriveKind(int64_t kind) { return kind < kTreeDrives; }
constexpr bool IsFilled(int64_t parameter) { return (parameter & FilledMark) == FilledMark; }

// What the tree's text slot is asked to do with a path (separators as the system's).
struct FolderTreeRequest {
  bool rebuild = false;
  bool new_patterns = false;  // `patterns` replaces the pattern list
  std::u16string patterns;
  bool to_selection = false;  // the target is the selected node's path
  std::u16string target;      // the folder to select (ends in the separator); empty: none
};
// - empty (or "\" alone, where that is the separator): rebuild;
// - a text without a separator: a new pattern list; rebuild and go back to the selection;
// - a path ending in the separator: select that folder;
// - any other path: the part after the last separator is the new pattern list; rebuild
//   and select the folder before it.
FolderTreeRequest FolderTreeRequestOf(const std::u16string& path, char16_t separator);

// Whether a node is filled now as it opens: not again once filled; a drive only while
// its root (`path`) can be read, and a drive not ready brings the notice unless the
// tree's `flags` leave it out. A node that is not filled stays unmarked, so that
// opening it again tries again.
enum class FillStep { kFilled, kRead, kRefused, kNotReady };
FillStep FolderTreeFillStep(int64_t parameter, const std::u16string& path, uint32_t flags);
