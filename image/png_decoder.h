#pragma once
// The PNG decoder (format id kFormatPng), over libpng.

// Registers the PNG decoder (once).
void RegisterPngDecoder();
