#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace zul {

// The one bridge between our byte strings and QString. Names stay bytes everywhere; a QString
// only shows them, or carries what Qt hands us (typed text, a path from a dialog). The round trip
// bytes -> QString -> bytes loses every byte that is not valid UTF-8, so never feed a QString made
// from a name back to the disk.
inline QString TextOf(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string BytesOf(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace zul
