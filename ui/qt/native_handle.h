#pragma once
// What the window layer holds a window or control by: its widget.
class QWidget;
using NativeHandle = QWidget*;
