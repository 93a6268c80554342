#pragma once
// File icons for the folder trees, asked of the system once per kind of file: files
// with the same short extension share an icon, except the kinds whose files each carry
// a picture of their own.
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

// What a file's icon is kept under: the text after the last "." of the path, without
// regard to case, when that is at most four characters and not the extension of a
// program, an icon, a link or an icon library; none when the file's own icon is wanted.
std::optional<std::u16string> FileIconKey(const std::u16string& path);

template <typename Icon>
class FileIconCache {
 public:
  // `ask` gives the system's icon of a file; `kept` whether an icon may stand for its
  // kind (one the system could not give says nothing of the kind).
  using Ask = std::function<Icon(const std::u16string& path)>;
  using Kept = std::function<bool(const Icon& icon)>;
  explicit FileIconCache(
      Ask ask, Kept kept = [](const Icon&) { return true; })
      : ask_(std::move(ask)), kept_(std::move(kept)) {}

  // Held by a fill for its whole file pass.
  std::mutex& Lock() { return lock_; }
  // The icon of the file: its kind's, else its own. The caller holds Lock().
  Icon For(const std::u16string& path) {
    const std::optional<std::u16string> key = FileIconKey(path);
    if (!key) return ask_(path);
    const auto cached = by_key_.find(*key);
    if (cached != by_key_.end()) return cached->second;
    Icon icon = ask_(path);
    if (kept_(icon)) by_key_.emplace(*key, icon);
    return icon;
  }

 private:
  Ask ask_;
  Kept kept_;
  std::mutex lock_;
  std::unordered_map<std::u16string, Icon> by_key_;
};
