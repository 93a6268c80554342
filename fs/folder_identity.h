#pragma once
// Which folder a path leads to, links followed: two paths with equal identities name the
// same folder. Lets a walk notice a link that leads back to where it already is.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

struct FolderIdentity {
  uint64_t device = 0;
  uint64_t node = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

// None when the path cannot be examined or is not a folder.
std::optional<FolderIdentity> FolderIdentityOf(const std::u16string& path);
