#pragma once
// The GIF decoder (format id kFormatGif), over giflib: every frame is composed on a
// full-screen canvas by the disposal rules, so each delivered frame is a whole picture.

// Registers the GIF decoder (once).
void RegisterGifDecoder();
