#pragma once
// Keyboard shortcuts written in their portable form ("Ctrl+Q", "Shift+F5", "Alt+Enter").
#include <windows.h>

#include <optional>
#include <string>

// The accelerator entry for the keys, giving the command; none for keys that name no
// shortcut (an unknown key, a key without its name, a modifier Win32 accelerators
// cannot hold).
std::optional<ACCEL> AcceleratorFromKeys(const std::u16string& keys, WORD command);
