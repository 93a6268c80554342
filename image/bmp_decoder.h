#pragma once
// The built-in decoder of BMP files (format id kFormatBmp), first in the registry.

// Registers the BMP decoder (once).
void RegisterBmpDecoder();
