#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_entry.h"
#include "core/plan_check.h"
#include "engine/filter_settings.h"

namespace zul {

class CaptureReader;
class FolderCache;

// Told after each capture time read with how many rows the work has passed; false stops the
// reading.
using CaptureProgress = std::function<bool(int rowsDone)>;

// The rows of the list, in display order: the only store of file data. A row's index is its
// position. Every operation is one pass over the rows or one sort, so a million rows stay fluid.
//
// A row is stored lean and its texts are made when asked: the names without spare capacity (a new
// name equal to the old one is not stored twice), the folder once for all its rows, the times as
// numbers. The texts are byte for byte those a row of texts would hold.
//
// A row's capture time is read from the file's metadata the first time it is needed and kept;
// until then its text is empty. Where the file has none (or cannot be read), the last-write time
// stands in, and the row knows it does.
class FileRows {
 public:
  int Count() const { return static_cast<int>(m_rows.size()); }
  // The text of one cell.
  std::string Text(int row, int column) const;
  // Every text of a row.
  FileEntry Row(int row) const;
  // Replaces "Neuer Name" of one row.
  void SetNewName(int row, std::string_view name);

  // Appends a row for a file; its new name is its old one until the next recomputation.
  void Append(std::string_view directory, std::string_view name,
              const std::optional<FileTimes>& times, const FileIdentity& identity = {});
  void Append(const FileRecord& file, const FileIdentity& identity = {}) {
    Append(file.directory, file.name, file.times, identity);
  }

  // The identity of a row's file as it was added ({} where it could not be taken): the journal
  // of a run records it, so that an undo finds the file even after others took its name.
  std::vector<FileIdentity> Identities() const;

  // The check's result of a row, kept until the next check; it moves with its row.
  StepCheck Check(int row) const {
    const StoredRow& stored = m_rows[static_cast<size_t>(row)];
    return {stored.issue, stored.other};
  }
  // One result per row, in row order.
  void SetChecks(const std::vector<StepCheck>& checks);

  // The rows follow their files after renames on the disk: each row named as the given step's
  // old name in its folder (with `back`, its new name) takes the other name as its "Alter Name"
  // and keeps it as "Neuer Name" until the next recomputation. Returns how many rows followed.
  int FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps, bool back);
  // Moves every row of `rows` to the end, in their order; `rows` is left empty.
  void Append(FileRows&& rows);
  // Gives back the spare capacity that appending in chunks left: a list is kept long after the
  // scan that filled it.
  void ShrinkToFit() { m_rows.shrink_to_fit(); }

  // Refills "Neuer Name" of every row from `filter`, top to bottom: one evaluation per row with
  // the row's position as its index, so one draw of the generator per row, in row order. A row's
  // capture time is read through `reader` where its evaluation needs one; once `progress` has
  // said stop, the rows still unread take the stand-in's text, unread. Returns how many rows did.
  // A row's metadata for the tag placeholders is read the same way, once, and kept. A new name
  // may keep slots for "[eindeutig]" (see MakeNamesUnique in unique_names.h).
  int ComputeNewNames(const FilterSettings& filter, const CaptureReader& reader,
                      const CaptureProgress& progress = {});

  // Reads the capture time of every row not read yet, top to bottom, until `progress` says stop.
  // Returns how many rows are left unread.
  int ReadCaptureTimes(const CaptureReader& reader, const CaptureProgress& progress = {});
  // Reads the capture time of one row unless it has been read.
  void ReadCaptureTime(int row, const CaptureReader& reader);
  // Whether the row's capture text is its last-write time, standing in.
  bool CaptureIsStandIn(int row) const;
  // The row's metadata for the tag placeholders, read unless it has been.
  const FileTags& ReadTags(int row, const CaptureReader& reader);
  // Whether the row's last evaluation gave a metadata placeholder (music tag, camera, picture
  // size) an empty value.
  bool HasEmptyTag(int row) const;

  // Removes the given rows; `rows` is ascending and free of duplicates.
  void Remove(const std::vector<int>& rows);
  // Exchanges two rows.
  void Swap(int a, int b);
  // Puts the rows into a new order in place: row i of the result is the former row order[i].
  void Reorder(const std::vector<int>& order);

  // Sorts the rows in place as a click on a column header does: by the column's text, or for the
  // date columns by year, month, day and time (an unread capture time as its empty text); compared
  // as bytes, so upper case comes before lower case and UTF-8 umlauts after all ASCII. Equal keys
  // keep their order. Returns where each row went: element r is the new position of the former row
  // r.
  std::vector<int> Sort(int column, bool ascending);

 private:
  // A time without a date text: the file could not be examined, or the time is beyond the
  // calendar. Its text is empty, which sorts before every date.
  static constexpr int64_t kNoTime = INT64_MIN;
  // `newSize` of a row whose new name is its old one.
  static constexpr uint32_t kSameName = UINT32_MAX;
  // `captured` of a row whose capture time has not been read, and of one whose file has none.
  static constexpr int64_t kNotRead = INT64_MIN + 1;
  static constexpr int64_t kStandIn = INT64_MIN + 2;

  // A row's metadata once read, and what its last evaluation made of it.
  struct StoredTags {
    FileTags tags;
    bool emptyInName = false;
  };

  struct StoredRow {
    std::unique_ptr<char[]> names;     // the old name, then the new one unless kSameName
    std::unique_ptr<StoredTags> tags;  // none until an evaluation needs the file's metadata
    uint32_t oldSize = 0;
    uint32_t newSize = kSameName;
    uint32_t folder = 0;    // index into m_folders
    uint32_t position = 0;  // the row's position when the sort under way began
    int64_t created = kNoTime;
    int64_t modified = kNoTime;
    int64_t captured = kNotRead;  // a dated capture time, kNotRead or kStandIn
    FileIdentity identity;
    uint32_t other = kNoOtherStep;  // the row the check's issue names
    StepIssue issue = StepIssue::None;

    // The time the capture column shows: kNoTime while unread.
    int64_t CaptureShown() const {
      return captured == kNotRead ? kNoTime : captured == kStandIn ? modified : captured;
    }

    std::string_view OldName() const { return {names.get(), oldSize}; }
    std::string_view NewName() const {
      return newSize == kSameName ? OldName() : std::string_view(names.get() + oldSize, newSize);
    }
    void SetNewName(std::string_view name);
    void SetOldName(std::string_view name);
  };

  uint32_t FolderId(std::string_view directory);
  void ReadCapture(StoredRow& row, const CaptureReader& reader) const;
  std::string Path(const StoredRow& row) const;
  const std::string& Folder(const StoredRow& row) const { return *m_folders[row.folder]; }

  std::vector<StoredRow> m_rows;
  // Every folder of a row, once; a folder stays until the list is empty.
  std::map<std::string, uint32_t, std::less<>> m_folderIds;
  std::vector<const std::string*> m_folders;  // the keys of m_folderIds, by id
};

// The file at the absolute `path` as it enters the list: its folder and name, split at its last
// '/', and its times, read in its folder through `folders`.
FileRecord MakeRecord(FolderCache& folders, const std::string& path);
// The identity of the file of a record, a link not followed; {} where it has none.
FileIdentity IdentifyRecord(FolderCache& folders, const FileRecord& record);

}  // namespace zul
