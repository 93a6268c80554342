#pragma once
// Orders names as people read them.
#include <string_view>

// Negative, 0 or positive as `a` sorts before, with or after `b`: without regard to
// case, and a run of digits by its value (img2 before img10). Names that differ only in
// case or in leading zeros still get a fixed order, so 0 means the names are equal.
int NaturalCompare(std::u16string_view a, std::u16string_view b);
