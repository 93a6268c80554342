#pragma once
// What the shared part of the window layer asks of the window system. Each window
// system defines these in its own folder.
#include <cstdint>
#include <string>

#include "ui/native_handle.h"

struct ControlPlace;
struct ControlRecord;

// The control's place in its window's client area.
ControlPlace NativePlaceOf(NativeHandle control);
// Places an anchored control for its window's present size; nothing for a control
// outside the layer's windows, which have no designed size to follow.
void NativeAnchorPlace(ControlRecord& record);
// The number of the nearest window of the layer at or above the handle (a window or any
// control inside one); -1 for none.
int64_t WindowNumberOf(NativeHandle handle);
// Gives a control its number ("WK_ID") and arranges for ControlGone when the window
// system destroys it.
void NativeControlTie(NativeHandle control, int64_t id);
// Destroys a control the table lets go of (or one never given a number). It must report
// nothing more meanwhile: its record is already released.
void NativeDestroy(NativeHandle control);
// True when the control stands inside the window (at any depth).
bool NativeIsInside(NativeHandle window, NativeHandle control);
// The control's own caption, for a type that keeps no text of its own.
std::u16string NativeText(NativeHandle control);
// The name assistive technology reads for the control.
void NativeSetAccessibleName(NativeHandle control, const std::u16string& name);
// The code unit folded for comparing without regard to case.
char32_t NativeCaseFold(char16_t unit);
