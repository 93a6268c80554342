#include "fs/link_rule.h"

#include <unistd.h>

bool LinkMayBeFollowed(uint32_t link_owner, uint32_t target_owner) {
  return link_owner == static_cast<uint32_t>(geteuid()) || link_owner == target_owner;
}
