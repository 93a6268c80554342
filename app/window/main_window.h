#pragma once
// The window program's life: start the layers, open MainWindow with its controls, run
// the event loop until quit or close, shut everything down.
#include "app/window/start_folder.h"

// Starts the layers in their order and opens MainWindow. On Linux the QApplication
// must exist first. The tree and the file list show the start folder, if any.
void MainWindowStart(const StartFolder& start = {});
// Handles events until the quit button or the close box; returns the exit code. A
// problem of the start folder is told first.
int MainWindowRun();
// Shuts the layers down in their order.
void MainWindowStop();
