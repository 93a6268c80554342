#pragma once
// The render button's command in the window: the folder selected in FolderTree is
// processed, then its scene rendered with the POV-Ray on PATH into image_scan.png, which
// then opens in a window of its own.

// Asks POV-Ray its version first (no POV-Ray, or one that cannot read the scene chosen
// in the process button's menu, is explained in a message and nothing is done), writes
// the scene it reads as the process button does, then renders it with the busy cursor,
// its progress in ImageLog and the title. Escape, the quit button, Ctrl+Q and the close
// box end POV-Ray and keep the previous picture; so does a failure, explained in a
// message with POV-Ray's own first lines.
void RenderCommand();
