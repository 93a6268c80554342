#pragma once
// A few texts kept for the user between runs of the window program: in
// ~/.config/imagescan/imagescan.conf on Linux ($XDG_CONFIG_HOME where set), under
// HKEY_CURRENT_USER\Software\imagescan on Windows.
#include <string>

// The text kept under the name; empty when there is none or it cannot be read.
std::u16string SettingsRead(const std::u16string& name);
// Keeps the text under the name. A failure to keep it is not reported: what is kept
// only saves the user a step.
void SettingsWrite(const std::u16string& name, const std::u16string& text);
