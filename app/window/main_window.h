#pragma once
// The window program's life: start the layers, open MainWindow with its controls, run
// the event loop until quit or close, shut everything down.

// Starts the layers in their order and opens MainWindow. On Linux the QApplication
// must exist first.
void MainWindowStart();
// Handles events until the quit button or the close box; returns the exit code.
int MainWindowRun();
// Shuts the layers down in their order.
void MainWindowStop();
