#include "core/journal_format.h"

#include <zlib.h>

#include <algorithm>
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

// The longest name or folder path a journal may record. Far beyond what a file system takes,
// and small enough that no length read from a damaged journal makes the reader take gigabytes.
constexpr uint32_t kMaxRecorded = 64 * 1024;
constexpr size_t kChunk = size_t{64} * 1024;

// Reads the journal front to back from its source, a chunk at a time, and sums up the bytes
// taken; every read fails once the bytes run out or the source fails.
class Reader {
 public:
  explicit Reader(const JournalSource& source) : m_source(source) {}

  template <class T>
  bool Get(T& value) {
    if (!Fill(sizeof(T))) return false;
    std::make_unsigned_t<T> bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      bits |= static_cast<std::make_unsigned_t<T>>(static_cast<unsigned char>(m_buffer[m_at + i]))
              << (8 * i);
    value = static_cast<T>(bits);
    m_at += sizeof(T);
    return true;
  }
  // False also where the length is beyond any name's; `tooLong` then says so.
  bool GetBytes(std::string& value, bool& tooLong) {
    uint32_t length = 0;
    if (!Get(length)) return false;
    tooLong = length > kMaxRecorded;
    if (tooLong || !Fill(length)) return false;
    value.assign(m_buffer, m_at, length);
    m_at += length;
    return true;
  }
  // Up to `size` of the next bytes; fewer only at the end.
  std::string_view Take(size_t size) {
    Fill(size);
    const std::string_view taken = std::string_view(m_buffer).substr(m_at, size);
    m_at += taken.size();
    return taken;
  }

  // The checksum of the bytes taken so far.
  uint32_t Sum() {
    Fold();
    return m_sum;
  }
  std::error_code Error() const { return m_error; }

 private:
  void Fold() {
    m_sum = static_cast<uint32_t>(crc32_z(
        m_sum, reinterpret_cast<const Bytef*>(m_buffer.data() + m_summed), m_at - m_summed));
    m_summed = m_at;
  }
  bool Fill(size_t size) {
    while (m_buffer.size() - m_at < size) {
      if (m_ended) return false;
      Fold();
      m_buffer.erase(0, m_at);
      m_at = m_summed = 0;
      const size_t want = std::max(size - m_buffer.size(), kChunk);
      std::string chunk;
      if ((m_error = m_source(m_offset, want, chunk))) {
        m_ended = true;
        return false;
      }
      m_offset += chunk.size();
      m_ended = chunk.size() < want;
      m_buffer += chunk;
    }
    return true;
  }

  const JournalSource& m_source;
  std::string m_buffer;
  size_t m_at = 0;
  size_t m_summed = 0;  // bytes of the buffer in m_sum
  uint64_t m_offset = 0;
  uint32_t m_sum = 0;
  bool m_ended = false;
  std::error_code m_error;
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
      case JournalError::Unproven:
        return "the file may have been made after the run";
      case JournalError::BadName:
        return "not a plain name";
      case JournalError::Busy:
        return "another run holds the journal folder";
    }
    return "unknown journal error";
  }
};

// The finish record that follows the journal's checksum: the steps renamed, or nothing where
// there is no record or only a torn one.
Result<std::optional<size_t>> DecodeFinish(std::string_view rest) {
  if (rest.size() > kFinishSize) return MakeErrorCode(JournalError::Malformed);
  if (rest.size() < kFinishSize || !rest.starts_with(kFinishMagic)) return std::optional<size_t>();
  const auto number = [&](size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
      value |= uint64_t{static_cast<unsigned char>(rest[at + i])} << (8 * i);
    return value;
  };
  const uint64_t renamed = number(kFinishMagic.size(), 8);
  if (number(kFinishSize - 4, 4) != Checksum(rest.substr(0, kFinishSize - 4)))
    return std::optional<size_t>();
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
  const JournalSource source = [bytes](uint64_t offset, size_t size, std::string& chunk) {
    chunk.assign(bytes.substr(std::min<uint64_t>(offset, bytes.size()), size));
    return std::error_code();
  };
  return DecodeJournal(source);
}

Result<JournaledRun> DecodeJournal(const JournalSource& source) {
  Reader reader(source);
  const auto refused = [&reader](JournalError error) -> Result<JournaledRun> {
    if (reader.Error()) return reader.Error();
    return MakeErrorCode(error);
  };
  const std::string_view magic = reader.Take(kMagic.size());
  if (magic != kMagic)
    return refused(kMagic.starts_with(magic) ? JournalError::Truncated : JournalError::NotAJournal);
  uint32_t version = 0;
  uint32_t folderCount = 0;
  uint64_t stepCount = 0;
  JournaledRun run;
  if (!reader.Get(version)) return refused(JournalError::Truncated);
  if (version != kVersion) return MakeErrorCode(JournalError::UnknownVersion);
  if (!reader.Get(folderCount) || !reader.Get(stepCount) || !reader.Get(run.started))
    return refused(JournalError::Truncated);

  // The counts are not trusted with memory ahead of the records that bear them out.
  constexpr size_t kTrusted = 1 << 16;
  bool tooLong = false;
  std::vector<std::string> folders;
  folders.reserve(std::min<size_t>(folderCount, kTrusted));
  for (uint32_t k = 0; k < folderCount; ++k) {
    if (!reader.GetBytes(folders.emplace_back(), tooLong))
      return refused(tooLong ? JournalError::Malformed : JournalError::Truncated);
  }
  std::vector<uint32_t> folderOf;
  folderOf.reserve(std::min<uint64_t>(stepCount, kTrusted));
  run.plan.reserve(std::min<uint64_t>(stepCount, kTrusted));
  run.identities.reserve(std::min<uint64_t>(stepCount, kTrusted));
  for (uint64_t k = 0; k < stepCount; ++k) {
    RenameStep& step = run.plan.emplace_back();
    FileIdentity& identity = run.identities.emplace_back();
    if (!reader.Get(folderOf.emplace_back()) || !reader.GetBytes(step.from, tooLong) ||
        !reader.GetBytes(step.to, tooLong) || !reader.Get(identity.device) ||
        !reader.Get(identity.inode) || !reader.Get(identity.birth))
      return refused(tooLong ? JournalError::Malformed : JournalError::Truncated);
  }
  const uint32_t sum = reader.Sum();
  uint32_t checksum = 0;
  if (!reader.Get(checksum)) return refused(JournalError::Truncated);
  if (checksum != sum) return MakeErrorCode(JournalError::BadChecksum);

  for (size_t k = 0; k < run.plan.size(); ++k) {
    if (folderOf[k] >= folderCount) return MakeErrorCode(JournalError::Malformed);
    run.plan[k].directory = folders[folderOf[k]];
  }
  // One byte more than a finish record tells a journal longer than its records can be, without
  // reading the rest of it.
  const std::string rest(reader.Take(kFinishSize + 1));
  if (reader.Error()) return reader.Error();
  Result<std::optional<size_t>> finish = DecodeFinish(rest);
  if (!finish) return finish.error();
  if (*finish && **finish > stepCount) return MakeErrorCode(JournalError::Malformed);
  run.renamed = *finish;
  return run;
}

}  // namespace zul
