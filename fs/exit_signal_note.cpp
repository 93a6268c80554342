#include "fs/exit_signal_note.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "fs/exit_signals.h"

namespace {

struct Note {
  size_t length = 0;
  char bytes[4095];
};

// As with the cleanup's path: the handler reads the note g_note points to while a new
// one is written into the other buffer.
Note g_notes[2];
int g_next_note = 0;
std::atomic<const Note*> g_note{nullptr};
static_assert(std::atomic<const Note*>::is_always_lock_free, "read from a signal handler");

}  // namespace

void ExitSignalNote(std::string_view bytes) {
  Note& note = g_notes[g_next_note];
  g_next_note ^= 1;
  note.length = std::min(bytes.size(), sizeof note.bytes);
  if (note.length > 0) std::memcpy(note.bytes, bytes.data(), note.length);
  g_note.store(&note);
}

std::string_view ExitSignalNoteBytes() {
  const Note* note = g_note.load();
  return note ? std::string_view(note->bytes, note->length) : std::string_view();
}
