#pragma once

#include <optional>

namespace zul {

// The state of the three lock keys, as the windowing system reports it.
struct LockKeys {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// Empty where the windowing system does not tell (Wayland, offscreen): only X11 (XKB) does.
std::optional<LockKeys> ReadLockKeys();

}  // namespace zul
