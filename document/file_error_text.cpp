#include "document/file_error_text.h"

#include <cerrno>
#include <cstring>

#include <QFile>

QString FileErrorText(int error, const std::string& path) {
  const QString name = QFile::decodeName(path.c_str());
  switch (error) {
    case ENOENT:
      return QStringLiteral("„%1“ wurde nicht gefunden.").arg(name);
    case ENOTDIR:
      return QStringLiteral("Der Pfad von „%1“ ist ungültig.").arg(name);
    case EACCES:
    case EPERM:
      return QStringLiteral("Zugriff auf „%1“ verweigert.").arg(name);
    case EROFS:
      return QStringLiteral("„%1“ liegt auf einem schreibgeschützten Datenträger.").arg(name);
    case EISDIR:
      return QStringLiteral("„%1“ ist ein Verzeichnis.").arg(name);
    case ENAMETOOLONG:
      return QStringLiteral("Der Name „%1“ ist zu lang.").arg(name);
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("Der Datenträger ist voll; „%1“ konnte nicht geschrieben werden.")
          .arg(name);
    case EMFILE:
    case ENFILE:
      return QStringLiteral("Zu viele geöffnete Dateien; „%1“ konnte nicht geöffnet werden.")
          .arg(name);
    case EIO:
      return QStringLiteral("Hardware-Fehler beim Zugriff auf „%1“.").arg(name);
    case ELOOP:
      return QStringLiteral("Zu viele symbolische Verknüpfungen im Pfad „%1“.").arg(name);
    default:
      return QStringLiteral("Unerwarteter Fehler bei „%1“: %2")
          .arg(name, QString::fromLocal8Bit(std::strerror(error)));
  }
}
