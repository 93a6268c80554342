#pragma once
// What a line list asks of its window system's widget; the list's operations
// (positions, lines that do not exist, the selected line's text) are written once over
// it. The view is the list's state, kept in its ControlRecord.
#include <cstdint>
#include <memory>
#include <string>

#include "ui/control_register.h"

class LineListView : public ControlTypeState {
 public:
  virtual int64_t Count() const = 0;
  // Puts the line in at `at`, from 0 to Count().
  virtual void Insert(int64_t at, const std::u16string& text) = 0;
  virtual void Clear() = 0;
  // The text of a line from 0 to Count() - 1.
  virtual std::u16string Line(int64_t row) const = 0;
  // The selected line (the first, where several can be), -1 for none.
  virtual int64_t Selected() const = 0;
};

extern const ControlOps kLineListOps;

// Gives a registered line list its view.
void LineListStart(ControlRecord& record, std::unique_ptr<LineListView> view);
