#pragma once

#include <optional>
#include <string>

#include "core/run_lock.h"

namespace zul {

// Why a run cannot start now, naming who holds the journal folder, in German (UTF-8); the
// window and zulren show it alike.
std::string RunBusyText(const std::optional<RunHolder>& holder);

}  // namespace zul
