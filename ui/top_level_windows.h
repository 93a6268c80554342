#pragma once
// Numbered top-level windows. Positions and sizes are in 1/96 inch.
#include <cstdint>
#include <optional>
#include <string>

// Flag bits of WindowCreate: window styles plus the layer's own bits.
inline constexpr uint32_t kWindowCentreOnScreen = 0x1;
inline constexpr uint32_t kWindowCentreOnOwner = 0x2;
inline constexpr uint32_t kWindowTool = 0x4;
inline constexpr uint32_t kWindowNotContainer = 0x8;  // controls go elsewhere
inline constexpr uint32_t kWindowMaximizeBox = 0x10000;
inline constexpr uint32_t kWindowMinimizeBox = 0x20000;
inline constexpr uint32_t kWindowSizingBorder = 0x40000;
inline constexpr uint32_t kWindowSystemMenu = 0x80000;  // with the close button
inline constexpr uint32_t kWindowCaption = 0xC00000;
inline constexpr uint32_t kWindowStartMaximised = 0x1000000;
inline constexpr uint32_t kWindowNoActivate = 0x2000000;
inline constexpr uint32_t kWindowHidden = 0x10000000;
inline constexpr uint32_t kWindowStartMinimised = 0x20000000;

// x (or y, without a centring bit) of this value lets the window system place it.
inline constexpr int64_t kDefaultPosition = -65535;

void UiWindowsInit();
// Closes every window still open.
void UiWindowsEnd();

// Opens a top-level window whose client area is width x height, its frame's top-left
// corner at x, y on the screen (moved, and only then shrunk, to stay on the screen; a
// sizable one cannot be made smaller than asked, or than the screen), and (unless kWindowNotContainer) makes it the
// window new controls go into. A number in use is closed first. Returns a non-zero handle for a number, the new id for
// kAutoNumber, 0 on failure. The owner is a window number; the window then stays above it and is centred on it with
// kWindowCentreOnOwner.
int64_t WindowCreate(int64_t number, int64_t x, int64_t y, int64_t width, int64_t height, const std::u16string& title,
                     uint32_t flags, std::optional<int64_t> owner = std::nullopt);
// Gives the window a keyboard shortcut: the keys in their portable form ("Ctrl+Q",
// "F5") post CommandEvent with the command as object while the window is active. False
// for a number without a window or keys that name no shortcut.
bool WindowAcceleratorAdd(int64_t number, const std::u16string& keys, int64_t command);
// Closes the window and its controls and drops its queued events; kAutoNumber closes
// all. Nothing for a number without a window.
void WindowClose(int64_t number);
// Numbered windows ascending, then those of kAutoNumber, newest first.
void WindowCloseAll();
