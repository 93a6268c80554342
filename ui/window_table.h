#pragma once
// The numbered windows' table as both window systems keep it.
#include <cstdint>

#include "fs/object_table.h"

// Closes the window under number, every window for kAutoNumber (numbered ones
// ascending, then the others newest first); nothing without a table.
template <typename Record>
void CloseNumberedWindow(ObjectTable<Record>* table, int64_t number) {
  if (!table) return;
  if (number == kAutoNumber) {
    table->ReleaseAll();
  } else {
    table->Release(number);
  }
}
