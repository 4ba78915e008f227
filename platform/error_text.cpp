#include "platform/error_text.h"

#include <cerrno>
#include <cstring>

namespace zul {

namespace {

// `pattern` with its one "%1" replaced by the name.
std::string With(std::string_view pattern, std::string_view name) {
  const size_t at = pattern.find("%1");
  std::string text(pattern.substr(0, at));
  text += name;
  text += pattern.substr(at + 2);
  return text;
}

}  // namespace

std::string FileErrorText(std::error_code code, std::string_view name) {
  const int error = code.value();
  if (code.category() != std::generic_category() && code.category() != std::system_category())
    return With("Unerwarteter Fehler bei „%1“: ", name) + code.message();
  switch (error) {
    case ENOENT:
      return With("„%1“ wurde nicht gefunden.", name);
    case ENOTDIR:
      return With("Der Pfad von „%1“ ist ungültig.", name);
    case EACCES:
    case EPERM:
      return With("Zugriff auf „%1“ verweigert.", name);
    case EROFS:
      return With("„%1“ liegt auf einem schreibgeschützten Datenträger.", name);
    case EISDIR:
      return With("„%1“ ist ein Verzeichnis.", name);
    case ENAMETOOLONG:
      return With("Der Name „%1“ ist zu lang.", name);
    case ENOSPC:
    case EDQUOT:
      return With("Der Datenträger ist voll; „%1“ konnte nicht geschrieben werden.", name);
    case EMFILE:
    case ENFILE:
      return With("Zu viele geöffnete Dateien; „%1“ konnte nicht geöffnet werden.", name);
    case EIO:
      return With("Hardware-Fehler beim Zugriff auf „%1“.", name);
    case ELOOP:
      return With("Zu viele symbolische Verknüpfungen im Pfad „%1“.", name);
    default:
      return With("Unerwarteter Fehler bei „%1“: ", name) + std::strerror(error);
  }
}

}  // namespace zul
