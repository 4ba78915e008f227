#include "app/recent_files.h"

#include "platform/text_bytes.h"

namespace zul {

void RecentFiles::Add(const std::string& path) {
  Remove(path);
  m_paths.insert(m_paths.begin(), path);
  if (m_paths.size() > kMax) m_paths.resize(kMax);
}

void RecentFiles::Remove(const std::string& path) { std::erase(m_paths, path); }

void RecentFiles::Set(std::vector<std::string> paths) {
  m_paths.clear();
  // Oldest first, so that the first stays first and duplicates collapse onto the newer place.
  for (auto entry = paths.rbegin(); entry != paths.rend(); ++entry) {
    if (!entry->empty()) Add(*entry);
  }
}

QString RecentFiles::MenuText(size_t index, const std::string& path) {
  QString name = TextOf(path.substr(path.rfind('/') + 1));
  name.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 ").arg(index + 1) + name;
}

}  // namespace zul
