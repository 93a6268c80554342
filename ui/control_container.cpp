// The window new controls are created in.
#include "ui/control_register.h"

namespace {

NativeHandle g_container = nullptr;

}  // namespace

NativeHandle ControlContainer() { return g_container; }
void ControlContainerSet(NativeHandle window) { g_container = window; }
void ControlContainerForget(NativeHandle window) {
  if (g_container == window) g_container = nullptr;
}
