#pragma once
// What a listing searches: the folder to read and the pattern its names must match.
#include <string>
#include <string_view>

struct ListingSearch {
  std::u16string folder;   // "." for the current folder
  std::u16string pattern;  // matched against the name alone
};

// Joins path and pattern into one search string, with "/" between them unless the path
// is empty or ends in a separator (path_separator.h), and splits it again at its last
// separator. An empty pattern is "*.*".
ListingSearch ListingSearchFrom(const std::u16string& path, const std::u16string& pattern);

// "*.*" matches every name, also one without a dot. Otherwise "?" matches one code unit
// and "*" any run of them, and letters match without regard to (ASCII) case.
bool ListingNameMatches(std::u16string_view pattern, std::u16string_view name);
