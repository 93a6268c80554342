#pragma once
// Which symbolic links a scan follows: only where the system's own rule for links in
// folders that others may write would let it, so that a scan run by one user (root
// above all) never reads, through another user's link, what that user may not.
#include <cstdint>

// Whether a link owned by `link_owner` that leads to something owned by `target_owner`
// is followed: the running user owns the link, or the link's owner owns what it leads
// to. Always true where files have no such owners (Windows).
bool LinkMayBeFollowed(uint32_t link_owner, uint32_t target_owner);
