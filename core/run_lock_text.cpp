#include "core/run_lock_text.h"

#include <ctime>

namespace zul {

namespace {

std::string HolderText(const std::optional<RunHolder>& holder) {
  if (!holder) return "ein anderes Programm";
  std::string text = holder->program == "zul" ? "das Fenster von Zul" : "„" + holder->program + "“";
  text += " (Prozess " + std::to_string(holder->process);
  const time_t since = holder->since;
  struct tm local {};
  char clock[16] = "";
  if (since > 0 && localtime_r(&since, &local) &&
      std::strftime(clock, sizeof clock, "%H:%M:%S", &local) > 0)
    text += std::string(", seit ") + clock + " Uhr";
  return text + ")";
}

}  // namespace

std::string RunBusyText(const std::optional<RunHolder>& holder) {
  return "Gerade läuft eine andere Umbenennung oder ein Rückgängig, durch " + HolderText(holder) +
         ". Bitte später erneut versuchen.";
}

}  // namespace zul
