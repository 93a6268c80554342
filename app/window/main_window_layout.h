#pragma once
// How MainWindow's controls follow its size, and what the keyboard and assistive
// technology get beyond the controls' captions.

// Anchors the controls, names the buttons for screen readers and gives the window its
// shortcuts (quit, refresh). Runs once the controls are made.
void MainWindowLayout();
