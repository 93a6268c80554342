#pragma once
// Scrolling a list control.
#include <cstdint>

// Scrolls a list (line list, column list) so that its last row shows; other controls
// and empty numbers are left alone.
void ControlScrollToEnd(int64_t number);
