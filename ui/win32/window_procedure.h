#pragma once
// The window procedure of every numbered window: turns the messages that matter into
// queued events, and routes what controls report to their types.
//
// Routing, for the control types: a WM_COMMAND from a control reaches ControlNotify as
// {NoticeKind::kCommand, code = the notification code (high word of wParam)}; a
// WM_NOTIFY as {NoticeKind::kNotify, code = NMHDR::code, native = the NMHDR address},
// from NMHDR::hwndFrom. ControlNotify hands it to the type's Notify routine; a command
// that routine leaves unanswered (kNotHandled, or no routine) becomes ControlEvent with
// the notification code as detail, so a push button's BN_CLICKED gives DetailLeftClick.
// What Notify answers to a WM_NOTIFY is the window procedure's result (a tree's veto of
// an expansion, say).
#include <windows.h>

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
