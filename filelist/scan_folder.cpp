#include <string>

#include "core/folder_walk.h"
#include "core/full_path.h"
#include "engine/random.h"
#include "filelist/zulbo_view.h"
#include "platform/prompter.h"

namespace zul {

namespace {

constexpr int kRowsPerChunk = 4096;

}  // namespace

// Every folder's scan ends with a recomputation of all names, which draws one random value per
// row. Only the last one (the chosen folder's) is ever seen, so the earlier ones are counted and
// skipped in one jump of the generator: the final names and the generator's state are the same
// as with a full recomputation after every folder, without its quadratic cost.
void CZulboView::ScanFolder(const std::string& folder) {
  const CheckHold hold(*this);
  const std::unique_ptr<Progress> progress = m_services.prompter.StartProgress(
      this,
      [](int found) {
        return QStringLiteral("Dateien werden hinzugefügt...\n%1 Dateien gefunden").arg(found);
      },
      0, true);
  const uint64_t rowsBefore = static_cast<uint64_t>(RowCount());
  FileRows found;
  // The rows name their folders absolutely, as AddFile does. They reach the list a chunk at a
  // time, one insertion each, so that a long scan shows them and keeps no second copy.
  const WalkOutcome outcome =
      WalkFolder(m_services.files, folder.empty() ? folder : FullPath(m_services.files, folder),
                 m_folderOptions.includeSubfolders, found, [&](int count) {
                   if (found.Count() >= kRowsPerChunk) m_model->Append(std::move(found));
                   return progress->Continue(count);
                 });
  m_model->Append(std::move(found));
  SkipRandom(outcome.subfoldersEnded * rowsBefore + outcome.foundAtSubfolderEnds);
  if (outcome.cancelled) {
    // The rows found stay; the user learns how far the scan came.
    emit StatusMessage(
        outcome.found == 1
            ? QStringLiteral("Hinzufügen abgebrochen: 1 Datei hinzugefügt.")
            : QStringLiteral("Hinzufügen abgebrochen: %1 Dateien hinzugefügt.").arg(outcome.found));
  }
  RecomputeNewNames();
  m_model->Compact();
}

}  // namespace zul
