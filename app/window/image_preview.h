#pragma once
// The preview of the file selected in FileList: Space there opens a window that shows
// the picture as the program's own loader reads it (what a scan measures), fitted to at
// most half the screen and titled with the file's name, or "cannot be read as an image".
// While open it follows the selection, and shows a file that changes on disk anew;
// Space and Escape in the list, and its close box, close it. The picture loads on a worker thread; a load the selection
// has moved on from is dropped. The window never takes the keyboard: the arrows keep moving the list's selection.
#include <cstdint>

// Opens the preview of the selected file (nothing without a selection), or closes it.
void PreviewToggle();
// Closes the preview, if open, and drops the load in progress.
void PreviewClose();
// The selection moved or the list was read anew: an open preview shows the file now
// selected (again where it changed), and closes when none is.
void PreviewFollowSelection();
// Shows the picture loaded, when kPreviewLoadedCommand comes.
void PreviewDeliver();
// Closes the preview and waits for its worker: before the window layer ends.
void PreviewEnd();
