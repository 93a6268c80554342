#pragma once
// Which file names the scan measures, and which it passes over though they look like
// images: both from the one list of extensions the scan knows.
#include <string>

// Whether the name's last three code units are one of the scanned extensions (png, jpg,
// gif, hdr), exactly as written: lower case, a dot not needed.
bool IsImageName(const std::u16string& name);
// Whether the name ends in a dot and a scanned extension or "jpeg", in any case.
bool LooksLikeImageName(const std::u16string& name);
// The scanned extensions as a reader is told them: "png, jpg, gif or hdr".
std::u16string ScannedExtensionsText();
