#pragma once
// The Qt side of numbered windows, for the layer's own code and its tests.
#include <cstdint>

class QWidget;

// The window's widget; null for a number without a window.
QWidget* WindowWidget(int64_t number);
// The number of the nearest window of the layer at or above the widget; -1 for none.
int64_t WindowNumberOf(const QWidget* widget);
