#pragma once
// Numbered controls: the operations every control type answers through its table of
// operations. A number without a control, or a type without the operation, gives 0
// or the empty text and changes nothing.
#include <cstdint>
#include <string>

// Creates the control table; runs before the first control.
void UiControlsInit();
// Destroys the controls still standing and the table.
void UiControlsEnd();
void UiCommonInit();

// The type's text; for a type without one the control's own text (a button's
// caption).
std::u16string ControlGetText(int64_t number);
int64_t ControlGetState(int64_t number);
// The text of a cell; row -1 gives the column's title.
std::u16string ControlItemText(int64_t number, int64_t row, int64_t column);
// Adds a row at the position (-1: at the end). Whatever the control reports meanwhile
// is not queued.
int64_t ControlAddItem(int64_t number, int64_t position, const std::u16string& text);
// Removes all rows; whatever the control reports meanwhile is not queued.
void ControlClearItems(int64_t number);
// Adds a column at the position, width in 1/96 inch.
void ControlAddColumn(int64_t number, int64_t position, const std::u16string& title, int64_t width);
// The name assistive technology reads for the control, where its caption would not
// read well; the caption stays as it is.
void ControlSetAccessibleName(int64_t number, const std::u16string& name);
