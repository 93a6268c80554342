#pragma once
// Listings of a fresh folder, read whole.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "fs/files.h"
#include "fs/listings.h"
#include "support/temp_folder.h"

struct Entry {
  EntryKind kind;
  int64_t size;
  bool operator==(const Entry&) const = default;
};

class Listing : public testing::Test {
 protected:
  void TearDown() override {
    ListingCloseAll();
    FileCloseAll();
  }

  // Every entry of one listing, by name.
  std::map<std::u16string, Entry> List(const std::u16string& folder, const std::u16string& pattern) {
    std::map<std::u16string, Entry> entries;
    const int64_t id = ListingOpen(kAutoNumber, folder, pattern);
    EXPECT_LT(id, -1);
    while (ListingNext(id)) entries[ListingName(id)] = {ListingKind(id), ListingSize(id)};
    EXPECT_EQ(ListingNext(id), 0);
    EXPECT_EQ(ListingClose(id), 1);
    EXPECT_EQ(ListingClose(id), 0);
    return entries;
  }
  std::set<std::u16string> ListNames(const std::u16string& folder, const std::u16string& pattern) {
    std::set<std::u16string> names;
    for (const auto& [name, entry] : List(folder, pattern)) names.insert(name);
    return names;
  }

  TempFolder dir;
};

using Names = std::set<std::u16string>;
