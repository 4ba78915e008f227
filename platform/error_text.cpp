#include "platform/error_text.h"

#include <cerrno>
#include <cstring>
#include <string>

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
    return With("Unerwarteter Fehler bei „%1“ (", name) + code.category().name() + ' ' +
           std::to_string(error) + ").";
  switch (error) {
    case ENOENT:
      return With("„%1“ wurde nicht gefunden.", name);
    case EEXIST:
      return With("„%1“ gibt es schon.", name);
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
    case EINVAL:
      return With("„%1“ ist hier kein gültiger Name.", name);
    case ENOSPC:
    case EDQUOT:
      return With("Der Datenträger ist voll; „%1“ konnte nicht geschrieben werden.", name);
    case EFBIG:
      return With("„%1“ ist zu groß oder hat zu lange Zeilen.", name);
    case EMFILE:
    case ENFILE:
      return With("Zu viele geöffnete Dateien; „%1“ konnte nicht geöffnet werden.", name);
    case ENOMEM:
      return With("Nicht genug Arbeitsspeicher für „%1“.", name);
    case EIO:
      return With("Hardware-Fehler beim Zugriff auf „%1“.", name);
    case ELOOP:
      return With("Zu viele symbolische Verknüpfungen im Pfad „%1“.", name);
    case EBUSY:
    case ETXTBSY:
      return With("„%1“ wird gerade benutzt.", name);
    case EWOULDBLOCK:
      return With("„%1“ ist gerade von einem anderen Programm gesperrt.", name);
    case EXDEV:
      return With("„%1“ liegt auf einem anderen Datenträger.", name);
    case ENOTEMPTY:
      return With("Der Ordner „%1“ ist nicht leer.", name);
    case EMLINK:
      return With("„%1“ hat zu viele Einträge oder Verknüpfungen.", name);
    case EOVERFLOW:
      return With("„%1“ ist zu groß für diese Art des Zugriffs.", name);
    case ENOTSUP:
      return With("Der Datenträger von „%1“ unterstützt diesen Vorgang nicht.", name);
    case ESTALE:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
      return With("Der Netzwerk-Datenträger von „%1“ antwortet nicht.", name);
    case ENXIO:
    case ENODEV:
      return With("Das Gerät von „%1“ ist nicht bereit.", name);
    case EINTR:
    case ECANCELED:
      return With("Der Zugriff auf „%1“ wurde abgebrochen.", name);
    default: {
      // Only the errno's symbolic name: the system's own description is English.
      const char* symbol = strerrorname_np(error);
      return With("Unerwarteter Fehler bei „%1“ (", name) +
             (symbol ? std::string(symbol) : "Fehler " + std::to_string(error)) + ").";
    }
  }
}

}  // namespace zul
