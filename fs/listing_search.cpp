#include "fs/listing_search.h"

#include "fs/path_separator.h"

namespace {

char16_t Folded(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }

}  // namespace

ListingSearch ListingSearchFrom(const std::u16string& path, const std::u16string& pattern) {
  std::u16string search = path;
  if (!search.empty() && !PathEndsInSeparator(search)) search += u'/';
  search += pattern.empty() ? u"*.*" : pattern;
  const size_t name_start = PathNameStart(search);
  if (name_start == 0) return {u".", search};
  return {search.substr(0, name_start), search.substr(name_start)};
}

bool ListingNameMatches(std::u16string_view pattern, std::u16string_view name) {
  if (pattern == u"*.*") return true;
  // Greedy walk that returns to the last "*" on a mismatch: linear in practice, and never
  // exponential whatever the pattern.
  size_t p = 0, n = 0;
  size_t star = std::u16string_view::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || Folded(pattern[p]) == Folded(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}
