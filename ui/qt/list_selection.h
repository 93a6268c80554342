#pragma once
// Reading the selection of the list controls.
#include <cstdint>

class QAbstractItemView;

// The lowest selected row; -1 when none is selected.
int64_t FirstSelectedRow(const QAbstractItemView& view);
