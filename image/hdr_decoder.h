#pragma once
// Radiance HDR files (first bytes "#?"): their size is read from the header for quick
// mode, but no decoder reads their pixels, so loading always refuses them and the scene
// lists them as 1 x 1.

// Registers the Radiance descriptor (once), after the decoders that load.
void RegisterHdrDecoder();
