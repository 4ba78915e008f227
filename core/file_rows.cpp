#include "core/file_rows.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>
#include <utility>

#include "capture/capture_reader.h"
#include "core/date_text.h"
#include "core/folder_cache.h"
#include "core/rename_plan.h"

namespace zul {

namespace {

// The times whose date texts have a year of four digits: their sort keys have fixed positions,
// so the keys sort as the times do.
constexpr int64_t kFirstFourDigitYear =
    std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{1000} / 1 / 1}}
        .time_since_epoch()
        .count();
constexpr int64_t kLastFourDigitYear =
    std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{9999} / 12 / 31}}
        .time_since_epoch()
        .count() +
    86399;

// The sort key of a date text: "DD.MM.YYYY   hh:mm:ss" gives "YYYYMMDD   hh:mm:ss", which sorts
// chronologically as text. Other texts give the pieces they have.
std::string DateKey(const std::string& text) {
  std::string key;
  const auto piece = [&](size_t pos, size_t count) {
    if (pos < text.size()) key.append(text, pos, count);
  };
  piece(6, 4);
  piece(3, 2);
  piece(0, 2);
  piece(10, std::string::npos);
  return key;
}

// A block holding the given pieces one after the other, exactly as large as they are.
std::unique_ptr<char[]> Block(std::string_view first, std::string_view second = {}) {
  if (first.empty() && second.empty()) return nullptr;
  auto block = std::make_unique_for_overwrite<char[]>(first.size() + second.size());
  std::copy(first.begin(), first.end(), block.get());
  std::copy(second.begin(), second.end(), block.get() + first.size());
  return block;
}

}  // namespace

void FileRows::StoredRow::SetNewName(std::string_view name) {
  if (name == NewName()) return;
  const bool same = name == OldName();
  names = same ? Block(OldName()) : Block(OldName(), name);
  newSize = same ? kSameName : static_cast<uint32_t>(name.size());
}

std::string FileRows::Text(int row, int column) const {
  const StoredRow& stored = m_rows[static_cast<size_t>(row)];
  switch (column) {
    case ColOldName:
      return std::string(stored.OldName());
    case ColNewName:
      return std::string(stored.NewName());
    case ColDirectory:
      return Folder(stored);
    case ColCreated:
      return DateText(stored.created);
    case ColModified:
      return DateText(stored.modified);
    default:
      return DateText(stored.CaptureShown());
  }
}

FileEntry FileRows::Row(int row) const {
  return {Text(row, ColOldName), Text(row, ColNewName),  Text(row, ColDirectory),
          Text(row, ColCreated), Text(row, ColModified), Text(row, ColCaptured)};
}

void FileRows::SetNewName(int row, std::string_view name) {
  m_rows[static_cast<size_t>(row)].SetNewName(name);
}

uint32_t FileRows::FolderId(std::string_view directory) {
  // Rows come folder by folder.
  if (!m_rows.empty() && Folder(m_rows.back()) == directory) return m_rows.back().folder;
  auto found = m_folderIds.find(directory);
  if (found == m_folderIds.end()) {
    found =
        m_folderIds.emplace(std::string(directory), static_cast<uint32_t>(m_folders.size())).first;
    m_folders.push_back(&found->first);
  }
  return found->second;
}

void FileRows::StoredRow::SetOldName(std::string_view name) {
  names = Block(name);
  oldSize = static_cast<uint32_t>(name.size());
  newSize = kSameName;
}

void FileRows::Append(std::string_view directory, std::string_view name,
                      const std::optional<FileTimes>& times, const FileIdentity& identity) {
  const auto dated = [](int64_t time) {
    return time < kFirstDated || time > kLastDated ? kNoTime : time;
  };
  StoredRow row;
  row.names = Block(name);
  row.oldSize = static_cast<uint32_t>(name.size());
  row.folder = FolderId(directory);
  row.identity = identity;
  if (times) {
    // Shown, sorted and evaluated as local time, like the capture time beside them.
    row.created = dated(LocalSeconds(times->created));
    row.modified = dated(LocalSeconds(times->modified));
  }
  m_rows.push_back(std::move(row));
}

void FileRows::Append(FileRows&& rows) {
  std::vector<uint32_t> ids;
  ids.reserve(rows.m_folders.size());
  for (const std::string* folder : rows.m_folders) ids.push_back(FolderId(*folder));
  for (StoredRow& row : rows.m_rows) {
    row.folder = ids[row.folder];
    m_rows.push_back(std::move(row));
  }
  rows.m_rows.clear();
  rows.m_folders.clear();
  rows.m_folderIds.clear();
}

std::string FileRows::Path(const StoredRow& row) const {
  const std::string& folder = Folder(row);
  std::string path;
  path.reserve(folder.size() + 1 + row.oldSize);
  path.append(folder).append("/").append(row.OldName());
  return path;
}

void FileRows::ReadCapture(StoredRow& row, const CaptureReader& reader) const {
  const std::optional<int64_t> time = reader.ReadCaptureTime(Path(row));
  row.captured = time && *time >= kFirstDated && *time <= kLastDated ? *time : kStandIn;
}

int FileRows::ComputeNewNames(const FilterSettings& filter, const CaptureReader& reader,
                              const CaptureProgress& progress) {
  bool reading = true;
  int unread = 0;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    StoredRow& row = m_rows[i];
    bool rowUnread = false;
    const auto captured = [&] {
      if (row.captured == kNotRead && reading) {
        ReadCapture(row, reader);
        if (progress && !progress(static_cast<int>(i) + 1)) reading = false;
      }
      if (row.captured != kNotRead) return DateText(row.CaptureShown());
      rowUnread = true;
      return DateText(row.modified);
    };
    // Rows left unread after a stop get empty values, kept for nothing: the next recomputation
    // reads them.
    static const FileTags kUnread;
    const auto tags = [&]() -> const FileTags& {
      if (!row.tags && reading) {
        row.tags = std::make_unique<StoredTags>(StoredTags{reader.ReadTags(Path(row)), false});
        if (progress && !progress(static_cast<int>(i) + 1)) reading = false;
      }
      if (row.tags) return row.tags->tags;
      rowUnread = true;
      return kUnread;
    };
    const NameEvaluation result =
        filter.EvaluateFile(std::string(row.OldName()), static_cast<int32_t>(i),
                            DateText(row.created), DateText(row.modified), captured, tags);
    row.SetNewName(result.name);
    if (row.tags) row.tags->emptyInName = result.emptyTag;
    if (rowUnread) ++unread;
  }
  return unread;
}

int FileRows::ReadCaptureTimes(const CaptureReader& reader, const CaptureProgress& progress) {
  int unread = 0;
  bool reading = true;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    StoredRow& row = m_rows[i];
    if (row.captured != kNotRead) continue;
    if (!reading) {
      ++unread;
      continue;
    }
    ReadCapture(row, reader);
    if (progress && !progress(static_cast<int>(i) + 1)) reading = false;
  }
  return unread;
}

void FileRows::ReadCaptureTime(int row, const CaptureReader& reader) {
  StoredRow& stored = m_rows[static_cast<size_t>(row)];
  if (stored.captured == kNotRead) ReadCapture(stored, reader);
}

const FileTags& FileRows::ReadTags(int row, const CaptureReader& reader) {
  StoredRow& stored = m_rows[static_cast<size_t>(row)];
  if (!stored.tags)
    stored.tags = std::make_unique<StoredTags>(StoredTags{reader.ReadTags(Path(stored)), false});
  return stored.tags->tags;
}

bool FileRows::HasEmptyTag(int row) const {
  const StoredRow& stored = m_rows[static_cast<size_t>(row)];
  return stored.tags && stored.tags->emptyInName;
}

bool FileRows::CaptureIsStandIn(int row) const {
  return m_rows[static_cast<size_t>(row)].captured == kStandIn;
}

void FileRows::Remove(const std::vector<int>& rows) {
  size_t out = 0;
  size_t next = 0;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (next < rows.size() && static_cast<size_t>(rows[next]) == i) {
      ++next;
      continue;
    }
    if (out != i) m_rows[out] = std::move(m_rows[i]);
    ++out;
  }
  m_rows.resize(out);
  if (m_rows.empty()) {
    m_folders.clear();
    m_folderIds.clear();
  }
}

void FileRows::Swap(int a, int b) {
  std::swap(m_rows[static_cast<size_t>(a)], m_rows[static_cast<size_t>(b)]);
}

void FileRows::Reorder(const std::vector<int>& order) {
  // Each cycle of the permutation is followed with one row held aside.
  std::vector<bool> placed(m_rows.size());
  for (size_t start = 0; start < m_rows.size(); ++start) {
    if (placed[start]) continue;
    StoredRow held = std::move(m_rows[start]);
    size_t to = start;
    for (;;) {
      placed[to] = true;
      const size_t from = static_cast<size_t>(order[to]);
      if (from == start) break;
      m_rows[to] = std::move(m_rows[from]);
      to = from;
    }
    m_rows[to] = std::move(held);
  }
}

std::vector<int> FileRows::Sort(int column, bool ascending) {
  for (size_t i = 0; i < m_rows.size(); ++i) m_rows[i].position = static_cast<uint32_t>(i);
  // `compare` is a three-way comparison of two rows; the former position breaks ties.
  const auto sortBy = [&](auto compare) {
    std::sort(m_rows.begin(), m_rows.end(), [&](const StoredRow& a, const StoredRow& b) {
      const int result = compare(a, b);
      if (result != 0) return ascending ? result < 0 : result > 0;
      return a.position < b.position;
    });
  };
  // Dates compare as numbers where that gives the order of their texts' keys, else by the keys.
  const auto compareDates = [](int64_t a, int64_t b) {
    const auto numbered = [](int64_t time) {
      return time == kNoTime || (time >= kFirstFourDigitYear && time <= kLastFourDigitYear);
    };
    if (numbered(a) && numbered(b)) return (a > b) - (a < b);
    return DateKey(DateText(a)).compare(DateKey(DateText(b)));
  };
  switch (column) {
    case ColOldName:
      sortBy(
          [](const StoredRow& a, const StoredRow& b) { return a.OldName().compare(b.OldName()); });
      break;
    case ColNewName:
      sortBy(
          [](const StoredRow& a, const StoredRow& b) { return a.NewName().compare(b.NewName()); });
      break;
    case ColDirectory:
      sortBy([this](const StoredRow& a, const StoredRow& b) {
        return a.folder == b.folder ? 0 : Folder(a).compare(Folder(b));
      });
      break;
    case ColCreated:
      sortBy([&](const StoredRow& a, const StoredRow& b) {
        return compareDates(a.created, b.created);
      });
      break;
    case ColModified:
      sortBy([&](const StoredRow& a, const StoredRow& b) {
        return compareDates(a.modified, b.modified);
      });
      break;
    default:
      sortBy([&](const StoredRow& a, const StoredRow& b) {
        return compareDates(a.CaptureShown(), b.CaptureShown());
      });
      break;
  }
  std::vector<int> moved(m_rows.size());
  for (size_t i = 0; i < m_rows.size(); ++i) moved[m_rows[i].position] = static_cast<int>(i);
  return moved;
}

std::vector<FileIdentity> FileRows::Identities() const {
  std::vector<FileIdentity> identities;
  identities.reserve(m_rows.size());
  for (const StoredRow& row : m_rows) identities.push_back(row.identity);
  return identities;
}

void FileRows::SetChecks(const std::vector<StepCheck>& checks) {
  for (size_t i = 0; i < m_rows.size(); ++i) {
    const StepCheck check = i < checks.size() ? checks[i] : StepCheck{};
    m_rows[i].issue = check.issue;
    m_rows[i].other = check.other;
  }
}

int FileRows::FollowRenames(const RenamePlan& plan, const std::vector<size_t>& steps, bool back) {
  const auto oldName = [&](const RenameStep& step) -> const std::string& {
    return back ? step.to : step.from;
  };
  // Right after a run the rows are still those its plan was made of, step k being row k: only
  // rows that moved since are looked up by folder and name.
  std::vector<std::pair<size_t, const std::string*>> moves;
  std::vector<size_t> moved;
  for (const size_t k : steps) {
    const RenameStep& step = plan[k];
    if (k < m_rows.size() && m_rows[k].OldName() == oldName(step) &&
        Folder(m_rows[k]) == step.directory) {
      moves.emplace_back(k, back ? &step.from : &step.to);
    } else {
      moved.push_back(k);
    }
  }
  if (!moved.empty()) {
    // The rows by folder and old name; a name listed twice follows once, in its first row.
    std::unordered_map<std::string_view, std::unordered_map<std::string_view, size_t>> byFolder;
    for (size_t i = m_rows.size(); i-- > 0;) byFolder[Folder(m_rows[i])][m_rows[i].OldName()] = i;
    for (const auto& [row, name] : moves)
      byFolder[Folder(m_rows[row])].erase(m_rows[row].OldName());
    for (const size_t k : moved) {
      const RenameStep& step = plan[k];
      const auto folder = byFolder.find(step.directory);
      if (folder == byFolder.end()) continue;
      const auto row = folder->second.find(oldName(step));
      if (row == folder->second.end()) continue;
      moves.emplace_back(row->second, back ? &step.from : &step.to);
      folder->second.erase(row);
    }
  }
  // Renamed only now: the lookups point into the names.
  for (const auto& [row, name] : moves) {
    m_rows[row].SetOldName(*name);
    m_rows[row].issue = StepIssue::None;
  }
  return static_cast<int>(moves.size());
}

FileRecord MakeRecord(FolderCache& folders, const std::string& full) {
  const size_t slash = full.rfind('/');
  FileRecord record;
  record.name = slash == std::string::npos ? full : full.substr(slash + 1);
  record.directory = slash == std::string::npos ? std::string() : full.substr(0, slash);
  // A path without a folder part or a name is looked up as it is.
  const Result<FileTimes> times = slash == std::string::npos || record.name.empty()
                                      ? folders.Files().ReadTimes(full)
                                      : folders.ReadTimes(record.directory, record.name);
  if (times) record.times = *times;
  return record;
}

FileIdentity IdentifyRecord(FolderCache& folders, const FileRecord& record) {
  if (record.name.empty()) return {};
  const Result<int> folder = folders.Open(record.directory);
  if (!folder) return {};
  Result<FileIdentity> identity = folders.Files().IdentifyInFolder(*folder, record.name);
  if (!identity) return {};
  // An overlay gives a file a new birth time when a rename copies it up: no proof there.
  if (!folders.Files().KeepsBirth(*folder)) identity->birth = 0;
  return *identity;
}

}  // namespace zul
