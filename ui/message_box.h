#pragma once
// Modal message boxes.
#include <cstdint>
#include <optional>
#include <string>

// Button sets and icons of the flags word.
inline constexpr uint32_t kMessageBoxOk = 0x0;
inline constexpr uint32_t kMessageBoxOkCancel = 0x1;
inline constexpr uint32_t kMessageBoxYesNoCancel = 0x3;
inline constexpr uint32_t kMessageBoxYesNo = 0x4;
inline constexpr uint32_t kMessageBoxIconStop = 0x10;
inline constexpr uint32_t kMessageBoxIconQuestion = 0x20;
inline constexpr uint32_t kMessageBoxIconWarning = 0x30;
inline constexpr uint32_t kMessageBoxIconInformation = 0x40;

// Results: the button that closed the box.
inline constexpr int kMessageBoxResultOk = 1;
inline constexpr int kMessageBoxResultCancel = 2;
inline constexpr int kMessageBoxResultYes = 6;
inline constexpr int kMessageBoxResultNo = 7;

// Longest text shown; a longer one is cut to its first kMessageBoxMaxText - 1 units.
inline constexpr size_t kMessageBoxMaxText = 65535;

// Shows the text under the caption, application-modal, and returns when the user
// closed it. Without an owner window number, the active window of the program owns
// the box.
int MessageBoxShow(const std::u16string& caption, const std::u16string& text, uint32_t flags,
                   std::optional<int64_t> owner = std::nullopt);
