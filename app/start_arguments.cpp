#include "app/start_arguments.h"

#include <QStringList>

#include "core/full_path.h"
#include "filelist/zulbo_view.h"
#include "platform/error_text.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "platform/text_bytes.h"

namespace zul {

std::vector<std::string> CommandLineFiles(const std::vector<std::string>& arguments) {
  std::vector<std::string> names;
  bool switches = true;
  for (const std::string& argument : arguments) {
    if (switches && argument == "--") {
      switches = false;
      continue;
    }
    if (argument.empty() || (switches && argument.front() == '-')) continue;
    names.push_back(argument);
  }
  return names;
}

bool OpensAsDocument(const std::vector<std::string>& names, const Services& services) {
  if (names.size() != 1) return false;
  const Result<FileStatus> status = services.files.Examine(names.front());
  return !status || status->kind != FileKind::Folder;
}

void AddToList(CZulboView& view, const Services& services, const std::vector<std::string>& names) {
  QStringList missing;
  bool added = false;
  for (const std::string& name : names) {
    const std::string path = FullPath(services.files, name);
    const Result<FileStatus> status = services.files.Examine(path);
    if (!status) {
      missing.push_back(
          QString::fromStdString(FileErrorText(status.error(), TextOf(name).toStdString())));
    } else if (status->kind == FileKind::Folder) {
      view.ScanFolder(path);
    } else {
      view.AddFile(path);
      added = true;
    }
  }
  // A scan has shown its rows' new names already.
  if (added) view.RecomputeNewNames();
  if (missing.empty()) return;
  const QString count =
      missing.size() == 1
          ? QStringLiteral("1 Datei oder Ordner konnte nicht hinzugefügt werden:")
          : QStringLiteral("%1 Dateien oder Ordner konnten nicht hinzugefügt werden:")
                .arg(missing.size());
  services.prompter.MessageWithList(&view, QStringLiteral("Zul"), count, missing,
                                    Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

}  // namespace zul
