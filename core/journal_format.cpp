#include "core/journal_format.h"

#include <zlib.h>

#include <type_traits>
#include <unordered_map>

namespace zul {

namespace {

constexpr std::string_view kMagic = "ZULJOURN";
constexpr std::string_view kFinishMagic = "DONE";
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 32;
constexpr size_t kFinishSize = 16;
constexpr size_t kSmallestStep = 4 + 4 + 4 + 8 + 8 + 8;

uint32_t Checksum(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

template <class T>
void Put(std::string& out, T value) {
  const auto bits = static_cast<std::make_unsigned_t<T>>(value);
  for (size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((bits >> (8 * i)) & 0xff);
}

void PutBytes(std::string& out, std::string_view bytes) {
  Put(out, static_cast<uint32_t>(bytes.size()));
  out += bytes;
}

// Reads the journal front to back; every read fails once the bytes run out.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

  template <class T>
  bool Get(T& value) {
    if (Left() < sizeof(T)) return false;
    std::make_unsigned_t<T> bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      bits |= static_cast<std::make_unsigned_t<T>>(static_cast<unsigned char>(m_bytes[m_at + i]))
              << (8 * i);
    value = static_cast<T>(bits);
    m_at += sizeof(T);
    return true;
  }
  bool GetBytes(std::string& value) {
    uint32_t length = 0;
    if (!Get(length) || Left() < length) return false;
    value.assign(m_bytes.substr(m_at, length));
    m_at += length;
    return true;
  }

  size_t At() const { return m_at; }
  size_t Left() const { return m_bytes.size() - m_at; }

 private:
  std::string_view m_bytes;
  size_t m_at = 0;
};

class JournalCategoryImpl : public std::error_category {
 public:
  const char* name() const noexcept override { return "zul journal"; }
  std::string message(int value) const override {
    switch (static_cast<JournalError>(value)) {
      case JournalError::NotAJournal:
        return "not a journal";
      case JournalError::UnknownVersion:
        return "unknown journal version";
      case JournalError::Truncated:
        return "journal cut short";
      case JournalError::BadChecksum:
        return "journal checksum wrong";
      case JournalError::Malformed:
        return "journal malformed";
      case JournalError::OtherFile:
        return "another file holds the name";
    }
    return "unknown journal error";
  }
};

// The finish record that follows the journal's checksum: the steps renamed, or nothing where
// there is no record or only a torn one.
Result<std::optional<size_t>> DecodeFinish(std::string_view rest) {
  if (rest.size() > kFinishSize) return MakeErrorCode(JournalError::Malformed);
  if (rest.size() < kFinishSize || !rest.starts_with(kFinishMagic)) return std::optional<size_t>();
  Reader reader(rest.substr(kFinishMagic.size()));
  uint64_t renamed = 0;
  uint32_t checksum = 0;
  reader.Get(renamed);
  reader.Get(checksum);
  if (checksum != Checksum(rest.substr(0, kFinishSize - 4))) return std::optional<size_t>();
  return std::optional<size_t>(static_cast<size_t>(renamed));
}

}  // namespace

const std::error_category& JournalCategory() {
  static const JournalCategoryImpl category;
  return category;
}

std::string EncodeJournal(const JournaledRun& run) {
  std::vector<std::string_view> folders;
  std::vector<uint32_t> folderOf(run.plan.size());
  {
    std::unordered_map<std::string_view, uint32_t> index;
    for (size_t k = 0; k < run.plan.size(); ++k) {
      const std::string& directory = run.plan[k].directory;
      if (k > 0 && directory == run.plan[k - 1].directory) {
        folderOf[k] = folderOf[k - 1];
        continue;
      }
      const auto [at, added] = index.try_emplace(directory, static_cast<uint32_t>(folders.size()));
      if (added) folders.push_back(directory);
      folderOf[k] = at->second;
    }
  }

  std::string out;
  size_t size = kHeaderSize + 4;
  for (const std::string_view folder : folders) size += 4 + folder.size();
  for (const RenameStep& step : run.plan) size += kSmallestStep + step.from.size() + step.to.size();
  out.reserve(size);
  out += kMagic;
  Put(out, kVersion);
  Put(out, static_cast<uint32_t>(folders.size()));
  Put(out, static_cast<uint64_t>(run.plan.size()));
  Put(out, run.started);
  for (const std::string_view folder : folders) PutBytes(out, folder);
  for (size_t k = 0; k < run.plan.size(); ++k) {
    const FileIdentity identity = k < run.identities.size() ? run.identities[k] : FileIdentity{};
    Put(out, folderOf[k]);
    PutBytes(out, run.plan[k].from);
    PutBytes(out, run.plan[k].to);
    Put(out, identity.device);
    Put(out, identity.inode);
    Put(out, identity.birth);
  }
  Put(out, Checksum(out));
  return out;
}

std::string EncodeFinish(size_t renamed) {
  std::string out(kFinishMagic);
  Put(out, static_cast<uint64_t>(renamed));
  Put(out, Checksum(out));
  return out;
}

Result<JournaledRun> DecodeJournal(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) {
    return MakeErrorCode(kMagic.starts_with(bytes) ? JournalError::Truncated
                                                   : JournalError::NotAJournal);
  }
  Reader reader(bytes.substr(kMagic.size()));
  uint32_t version = 0;
  uint32_t folderCount = 0;
  uint64_t stepCount = 0;
  JournaledRun run;
  if (!reader.Get(version)) return MakeErrorCode(JournalError::Truncated);
  if (version != kVersion) return MakeErrorCode(JournalError::UnknownVersion);
  if (!reader.Get(folderCount) || !reader.Get(stepCount) || !reader.Get(run.started))
    return MakeErrorCode(JournalError::Truncated);
  // Counts are checked against the bytes left before anything is allocated for them.
  if (folderCount > reader.Left() / 4 || stepCount > reader.Left() / kSmallestStep)
    return MakeErrorCode(JournalError::Truncated);

  std::vector<std::string> folders(folderCount);
  for (std::string& folder : folders) {
    if (!reader.GetBytes(folder)) return MakeErrorCode(JournalError::Truncated);
  }
  std::vector<uint32_t> folderOf(stepCount);
  run.plan.resize(stepCount);
  run.identities.resize(stepCount);
  for (size_t k = 0; k < stepCount; ++k) {
    RenameStep& step = run.plan[k];
    if (!reader.Get(folderOf[k]) || !reader.GetBytes(step.from) || !reader.GetBytes(step.to) ||
        !reader.Get(run.identities[k].device) || !reader.Get(run.identities[k].inode) ||
        !reader.Get(run.identities[k].birth))
      return MakeErrorCode(JournalError::Truncated);
  }
  const size_t bodyEnd = kMagic.size() + reader.At();
  uint32_t checksum = 0;
  if (!reader.Get(checksum)) return MakeErrorCode(JournalError::Truncated);
  if (checksum != Checksum(bytes.substr(0, bodyEnd)))
    return MakeErrorCode(JournalError::BadChecksum);

  for (size_t k = 0; k < stepCount; ++k) {
    if (folderOf[k] >= folderCount) return MakeErrorCode(JournalError::Malformed);
    run.plan[k].directory = folders[folderOf[k]];
  }
  Result<std::optional<size_t>> finish = DecodeFinish(bytes.substr(bodyEnd + 4));
  if (!finish) return finish.error();
  if (*finish && **finish > stepCount) return MakeErrorCode(JournalError::Malformed);
  run.renamed = *finish;
  return run;
}

}  // namespace zul
