#include "fs/exit_signal_note.h"

#include <algorithm>
#include <cstring>

#include "fs/exit_signals.h"
#include "fs/signal_slot.h"

namespace {

struct Note {
  size_t length = 0;
  char bytes[4095];
};

// The handler reads the current note while a new one may be written.
SignalSlot<Note> g_note;

}  // namespace

void ExitSignalNote(std::string_view bytes) {
  Note note;
  note.length = std::min(bytes.size(), sizeof note.bytes);
  if (note.length > 0) std::memcpy(note.bytes, bytes.data(), note.length);
  g_note.Set(&note);
}

std::string_view ExitSignalNoteBytes() {
  const Note* note = g_note.Get();
  return note ? std::string_view(note->bytes, note->length) : std::string_view();
}
