#pragma once
// Lists show that they have the keyboard focus: their frame is drawn in the highlight
// colour meanwhile, whatever the style does on its own.
class QAbstractScrollArea;
class QEvent;

// Runs after the list handled the event: once it has painted its frame, draws the
// focus frame over it while the list has the focus.
void FocusFrameAfter(QAbstractScrollArea& list, const QEvent& event);
