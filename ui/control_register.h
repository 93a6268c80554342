#pragma once
// What a control type needs to join the numbered controls: the record it fills, the
// table of operations it provides, and the routines that tie its native control to a
// number and report what the user did. Each type lives in files of its own and
// registers nothing centrally: its creator takes a record, builds its control in the
// current container and calls ControlRegister with its ControlOps.
//
// The table, the current container and the routing of reports are shared by every
// window system; ControlOf is each window system's, as it reads the number a native
// control carries (NativeControlTie writes it).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/control_anchor.h"
#include "ui/native_handle.h"

struct ControlOps;

// State a control type keeps per control (the folder tree's state, say); owned by the
// record and destroyed with it.
struct ControlTypeState {
  virtual ~ControlTypeState() = default;
};

struct ControlRecord {
  NativeHandle handle = nullptr;  // the control, owned by its parent window
  const ControlOps* ops = nullptr;
  int64_t number = 0;     // the control's number or kAutoNumber id
  int64_t type_data = 0;  // owned by the type
  std::unique_ptr<ControlTypeState> state;
  // Set by ControlAnchorSet: the control's place at its window's designed size (left,
  // top, right and bottom edges) and how its edges follow the window's size.
  bool anchored = false;
  int design[4] = {};
  ControlAnchor anchor;
  bool InUse() const { return handle != nullptr; }
};

// What a control reports. kCommand is a plain command of the control (a button's
// click, a list's selection change); kNotify is a notification with item details.
enum class NoticeKind { kCommand, kNotify };
struct ControlNotice {
  NoticeKind kind = NoticeKind::kCommand;
  int32_t code = 0;   // the type's notification code
  int64_t item = -1;  // row, line or column concerned; -1 for none
  bool old_selected = false;
  bool new_selected = false;
  // The window system's own record of the report, for the type's Notify routine (the
  // NMHDR's address of a Win32 WM_NOTIFY); 0 when there is none.
  intptr_t native = 0;
};

// A Notify routine returns this to let the default handling go on as if it had not
// answered. (The low 32 bits are 0xD0D0D0D1.)
inline constexpr int64_t kNotHandled = -791621423;

// Type ids.
inline constexpr int32_t kPushButtonType = 1;
inline constexpr int32_t kLineListType = 6;
inline constexpr int32_t kColumnListType = 12;
inline constexpr int32_t kFolderTreeType = 24;

// One table per control type, static and shared by its controls. An empty slot (null)
// makes the generic operation fall back as controls.h says.
struct ControlOps {
  int32_t type_id = 0;
  int64_t (*notify)(ControlRecord&, NativeHandle control, const ControlNotice&) = nullptr;
  // Runs while the native control is going away: free type resources only, the
  // control must not be used any more.
  void (*release)(ControlRecord&) = nullptr;
  int64_t (*get_state)(ControlRecord&) = nullptr;
  std::u16string (*get_text)(ControlRecord&) = nullptr;
  void (*set_text)(ControlRecord&, const std::u16string& text) = nullptr;
  int64_t (*add_item)(ControlRecord&, int64_t position, const std::u16string& text, int64_t image) = nullptr;
  int64_t (*add_item_with_image)(ControlRecord&, int64_t position, const std::u16string& text, int64_t image,
                                 int64_t flags) = nullptr;
  void (*clear_items)(ControlRecord&) = nullptr;
  std::u16string (*get_item_text)(ControlRecord&, int64_t row, int64_t column) = nullptr;
  // The width is in 1/96 inch.
  void (*add_column)(ControlRecord&, int64_t position, const std::u16string& title, int64_t width) = nullptr;
};

// The window new controls are created in; null before the first window.
NativeHandle ControlContainer();
void ControlContainerSet(NativeHandle window);
// Called as a window goes away: it stops being the container.
void ControlContainerForget(NativeHandle window);

struct ControlSlot {
  ControlRecord* record = nullptr;  // null: the number cannot be taken
  int64_t id = 0;
};
// Takes the number's record for a new control (destroying the control that held it)
// or a fresh record for kAutoNumber. The record comes back zero-filled.
ControlSlot ControlTake(int64_t number);
// Ties the native control to the record: stores it and the operations, gives the
// control its number ("WK_ID"), and arranges for ControlGone when the control goes.
// Returns a non-zero handle for a number, the id for kAutoNumber; 0 when the slot could
// not be taken, and the control is then destroyed.
int64_t ControlRegister(int64_t number, const ControlSlot& slot, NativeHandle control, const ControlOps& ops);
// A registered control destroyed by its window system, not through the table: its
// type's resources and queued events go, and the id is free again. Nothing when the
// id's record holds another control by now.
void ControlGone(int64_t id, NativeHandle gone);

struct CreatedControl {
  int64_t result = 0;               // ControlRegister's result; 0 on failure
  ControlRecord* record = nullptr;  // null on failure
};
// The common end of the control creators: takes the number's record for the new control
// and registers it with the type's operations.
CreatedControl ControlJoin(int64_t number, NativeHandle control, const ControlOps& ops);

// The record of a number in use; null for none.
ControlRecord* ControlFind(int64_t number);
// The record of a registered native control; null for anything else.
ControlRecord* ControlOf(NativeHandle control);
// Every control in use, in table order.
void ControlForEach(const std::function<void(ControlRecord&)>& visit);
// Destroys every control inside the window (its Release routines run, its events go).
void ControlsDestroyIn(NativeHandle window);

// Routes a report of a control through its type's Notify routine. A command that
// Notify leaves unanswered posts ControlEvent with the command code as detail; a
// control without a record reaches no Notify routine and posts nothing. Returns the
// Notify routine's answer, else 0.
int64_t ControlNotify(NativeHandle control, const ControlNotice& notice);
// Posts ControlEvent for the control with the detail, its window's number as window.
// Nothing for a control without a number.
void ControlEventPost(NativeHandle control, int64_t detail);
