#include "installer/install_record.h"

#include <cstring>
#include <new>

#include "installer/destination.h"
#include "installer/install_state.h"

namespace {

const char kHeader[] = "Pointrel installation record 1";
const char* const kStageNames[] = {"done", "staging", "swapping", "undoing"};
const char* const kShortcutNames[kShortcutKinds] = {"desktop", "start-menu", "startup"};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Upper(*a) != Upper(*b)) return false;
  }
  return *a == *b;
}

// Sixteen lower-case hex digits.
void Hex(std::uint64_t value, char (&out)[17]) {
  for (int i = 15; i >= 0; --i, value >>= 4) out[i] = "0123456789abcdef"[value & 0xF];
  out[16] = '\0';
}

bool ReadHex(const char* text, std::size_t length, std::uint64_t& value) {
  if (length != 16) return false;
  value = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    value = value << 4 | static_cast<unsigned>(digit);
  }
  return true;
}

bool ReadDecimal(const char* text, std::size_t length, std::uint64_t& value) {
  if (length == 0 || length > 19 || (length > 1 && text[0] == '0')) return false;
  value = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return value <= 0x7FFFFFFFFFFFFFFFull;
}

// Appends to the text being composed; counts what does not fit.
struct Writer {
  char* out;
  std::size_t size;
  std::size_t length = 0;
  void Add(const char* text) {
    const std::size_t count = std::strlen(text);
    if (length + count < size) std::memcpy(out + length, text, count);
    length += count;
  }
  void Line(const char* key, const char* value, const char* more = nullptr, const char* last = nullptr) {
    Add(key);
    Add(value);
    const char* const parts[] = {more, last};
    for (const char* part : parts) {
      if (!part) continue;
      Add(" ");
      Add(part);
    }
    Add("\r\n");
  }
};

void Digits(std::uint64_t value, char (&out)[24]) {
  char* at = out + sizeof out;
  *--at = '\0';
  do *--at = static_cast<char>('0' + value % 10);
  while ((value /= 10) != 0);
  std::memmove(out, at, static_cast<std::size_t>(out + sizeof out - at));
}

// A line of the text: [begin, end) without its "\r\n" or "\n".
struct Line {
  const char* begin;
  const char* end;
  bool Is(const char* key, const char*& value) const {
    const std::size_t length = std::strlen(key);
    if (static_cast<std::size_t>(end - begin) < length || std::memcmp(begin, key, length) != 0) return false;
    value = begin + length;
    return true;
  }
  // The value after the key as a string of its own, when it fits.
  bool Value(const char* from, char* out, std::size_t size) const {
    const std::size_t length = static_cast<std::size_t>(end - from);
    if (length >= size) return false;
    std::memcpy(out, from, length);
    out[length] = '\0';
    return true;
  }
};

class Lines {
 public:
  Lines(const char* text, const char* end) : at(text), end(end) {}
  bool Next(Line& line) {
    if (at >= end) return false;
    const char* stop = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
    if (!stop) return false;
    line.begin = at;
    line.end = stop > at && stop[-1] == '\r' ? stop - 1 : stop;
    at = stop + 1;
    return true;
  }
  // Where the next line would begin.
  const char* Rest() const { return at; }

 private:
  const char* at;
  const char* end;
};

// One line after the first three into record; false when it is not a line a record holds.
bool ReadFact(const Line& line, InstallRecord& record) {
  const char* value = nullptr;
  char text[kTextBufferSize];
  if (line.Is("folder-made=", value)) {
    if (record.folderMade || static_cast<std::size_t>(line.end - value) != 1 || *value != '1') return false;
    record.folderMade = true;
    return true;
  }
  if (line.Is("made=", value)) {
    return line.Value(value, text, sizeof text) && record.AddMadeFolder(text);
  }
  if (line.Is("file=", value)) {
    const char* space = static_cast<const char*>(std::memchr(value, ' ', static_cast<std::size_t>(line.end - value)));
    if (!space || line.end - space < 18 || space[17] != ' ') return false;
    FileDigest digest;
    return ReadDecimal(value, static_cast<std::size_t>(space - value), digest.size) &&
           ReadHex(space + 1, 16, digest.hash) && line.Value(space + 18, text, sizeof text) &&
           record.FindFile(text) < 0 && record.AddFile(text, digest);
  }
  if (line.Is("shortcut=", value)) {
    for (int kind = 0; kind < kShortcutKinds; ++kind) {
      const std::size_t length = std::strlen(kShortcutNames[kind]);
      if (static_cast<std::size_t>(line.end - value) <= length || std::memcmp(value, kShortcutNames[kind], length) != 0 ||
          value[length] != ' ') {
        continue;
      }
      // A full path of a file below a folder, given once per kind.
      return record.shortcuts[kind][0] == '\0' && line.Value(value + length + 1, text, sizeof text) &&
             IsCanonicalFolder(text) && std::strlen(text) > 3 &&
             record.SetShortcut(static_cast<ShortcutKind>(kind), text);
    }
    return false;
  }
  return false;
}

}  // namespace

std::uint64_t ContinueHash(std::uint64_t hash, const void* bytes, std::size_t count) {
  const unsigned char* at = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < count; ++i) hash = (hash ^ at[i]) * 1099511628211ull;
  return hash;
}

InstallRecord::~InstallRecord() {
  delete[] files;
  delete[] madeFolders;
}

bool InstallRecord::Reserve(int fileRoom, int folderRoom) {
  delete[] files;
  delete[] madeFolders;
  files = nullptr;
  madeFolders = nullptr;
  fileCount = fileCapacity = madeFolderCount = folderCapacity = 0;
  stage = RecordStage::Done;
  folder[0] = '\0';
  folderMade = false;
  for (auto& link : shortcuts) link[0] = '\0';
  if (fileRoom < 0 || folderRoom < 0 || fileRoom > kMaxRecordFiles || folderRoom > kMaxRecordFolders) return false;
  files = new (std::nothrow) RecordedFile[fileRoom > 0 ? fileRoom : 1];
  madeFolders = new (std::nothrow) char[folderRoom > 0 ? folderRoom : 1][kTextBufferSize];
  if (!files || !madeFolders) return false;
  fileCapacity = fileRoom;
  folderCapacity = folderRoom;
  return true;
}

bool InstallRecord::AddFile(const char* path, FileDigest digest) {
  if (fileCount >= fileCapacity || !IsInnerPath(path)) return false;
  RecordedFile& file = files[fileCount];
  if (!CopyText(file.path, sizeof file.path, path)) return false;
  file.digest = digest;
  ++fileCount;
  return true;
}

bool InstallRecord::AddMadeFolder(const char* path) {
  if (madeFolderCount >= folderCapacity || !IsInnerPath(path)) return false;
  if (!CopyText(madeFolders[madeFolderCount], kTextBufferSize, path)) return false;
  ++madeFolderCount;
  return true;
}

bool InstallRecord::SetShortcut(ShortcutKind kind, const char* link) {
  return CopyText(shortcuts[static_cast<int>(kind)], kTextBufferSize, link);
}

int InstallRecord::FindFile(const char* path) const {
  for (int index = 0; index < fileCount; ++index) {
    if (SameName(files[index].path, path)) return index;
  }
  return -1;
}

std::size_t ComposeRecord(const InstallRecord& record, char* out, std::size_t size) {
  Writer writer{out, size};
  writer.Add(kHeader);
  writer.Add("\r\n");
  writer.Line("stage=", kStageNames[static_cast<int>(record.stage)]);
  writer.Line("folder=", record.folder);
  if (record.folderMade) writer.Line("folder-made=", "1");
  for (int index = 0; index < record.madeFolderCount; ++index) writer.Line("made=", record.madeFolders[index]);
  for (int index = 0; index < record.fileCount; ++index) {
    const RecordedFile& file = record.files[index];
    char size[24];
    char hash[17];
    Digits(file.digest.size, size);
    Hex(file.digest.hash, hash);
    writer.Line("file=", size, hash, file.path);
  }
  for (int kind = 0; kind < kShortcutKinds; ++kind) {
    if (record.shortcuts[kind][0] != '\0') writer.Line("shortcut=", kShortcutNames[kind], record.shortcuts[kind]);
  }
  char check[17];
  Hex(ContinueHash(kHashStart, out, writer.length < size ? writer.length : 0), check);
  writer.Line("check=", check);
  if (writer.length < size) out[writer.length] = '\0';
  return writer.length;
}

RecordDamage ParseRecord(const char* text, std::size_t size, InstallRecord& record, int& line) {
  line = 0;
  record.Reserve(0, 0);
  const std::size_t headerLength = sizeof kHeader - 1;
  if (size < headerLength + 1 || std::memcmp(text, kHeader, headerLength) != 0 ||
      (text[headerLength] != '\r' && text[headerLength] != '\n')) {
    return RecordDamage::NotARecord;
  }
  const char* end = text + size;
  if (size > kMaxRecordBytes || std::memchr(text, '\0', size) != nullptr) return RecordDamage::Damaged;

  // The check: the last line, over every byte before it.
  Lines all(text, end);
  Line current{};
  const char* checkLine = nullptr;
  const char* value = nullptr;
  int files = 0, folders = 0, count = 0;
  while (!checkLine && all.Next(current)) {
    ++count;
    if (current.Is("check=", value)) {
      checkLine = current.begin;
    } else {
      files += current.Is("file=", value) ? 1 : 0;
      folders += current.Is("made=", value) ? 1 : 0;
    }
  }
  std::uint64_t check = 0;
  if (!checkLine || all.Rest() != end || !ReadHex(value, static_cast<std::size_t>(current.end - value), check) ||
      check != ContinueHash(kHashStart, text, static_cast<std::size_t>(checkLine - text))) {
    return RecordDamage::Damaged;
  }
  if (!record.Reserve(files, folders)) {
    line = count;
    return RecordDamage::Damaged;
  }

  Lines lines(text, checkLine);
  lines.Next(current);  // the header
  line = 2;
  char stage[16];
  int stageIndex = 0;
  bool ok = lines.Next(current) && current.Is("stage=", value) && current.Value(value, stage, sizeof stage);
  while (ok && stageIndex < 4 && std::strcmp(stage, kStageNames[stageIndex]) != 0) ++stageIndex;
  ok = ok && stageIndex < 4;
  if (ok) {
    record.stage = static_cast<RecordStage>(stageIndex);
    line = 3;
    ok = lines.Next(current) && current.Is("folder=", value) && current.Value(value, record.folder, sizeof record.folder) &&
         IsCanonicalFolder(record.folder);
  }
  while (ok && lines.Next(current)) {
    ++line;
    ok = ReadFact(current, record);
  }
  if (!ok) {
    const int damagedAt = line;
    record.Reserve(0, 0);
    line = damagedAt;
    return RecordDamage::Damaged;
  }
  line = 0;
  return RecordDamage::None;
}
