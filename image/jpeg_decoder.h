#pragma once
// The JPEG decoder (format id kFormatJpeg), over libjpeg.

// Registers the JPEG decoder (once).
void RegisterJpegDecoder();
