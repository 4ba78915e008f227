#include "app/lock_keys.h"

#include <QGuiApplication>

#ifdef ZUL_HAVE_X11
// After Qt: Xlib defines macros (Bool, None, Status) that clash with Qt's names.
#include <X11/XKBlib.h>
#endif

namespace zul {

std::optional<LockKeys> ReadLockKeys() {
#ifdef ZUL_HAVE_X11
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  // Looked up by name: the indicators' positions depend on the keymap.
  auto isOn = [display](const char* name) {
    Bool on = False;
    const Atom atom = XInternAtom(display, name, True);
    return atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
  };
  return LockKeys{isOn("Caps Lock"), isOn("Num Lock"), isOn("Scroll Lock")};
#else
  return std::nullopt;
#endif
}

}  // namespace zul
