#include "installer/install_journal.h"

#include <cstring>
#include <new>

#include "installer/destination.h"
#include "installer/failure_reason.h"
#include "installer/install_state.h"

const char kRecordName[] = "Uninstall.DAT";
const char kJournalName[] = "Uninstall.JNL";
const char kDraftName[] = "Uninstall.TMP";
const char kStagedSuffix[] = ".pointrel-new";
const char kRetiredSuffix[] = ".pointrel-old";

namespace {

// The three names of a recorded file: its place, its staged copy and the one moved aside.
struct Places {
  char place[kTextBufferSize];
  char staged[kTextBufferSize];
  char retired[kTextBufferSize];
  bool Compose(const InstallRecord& record, int index) {
    const char* path = record.files[index].path;
    return InFolder(place, record.folder, path) && InFolder(staged, record.folder, path, kStagedSuffix) &&
           InFolder(retired, record.folder, path, kRetiredSuffix);
  }
};

bool Fail(StepFailure& failure, const char* path, std::uint32_t error) { return failure.Set(path, error); }

}  // namespace

bool StepFailure::Set(const char* failedPath, std::uint32_t failedError) {
  if (!CopyText(path, sizeof path, failedPath)) path[0] = '\0';
  error = failedError;
  return false;
}

bool InFolder(char (&out)[kTextBufferSize], const char* folder, const char* name, const char* suffix) {
  return JoinPath(out, sizeof out, folder, name) && AppendText(out, sizeof out, suffix) && WideLength(out) < kMaxPath;
}

RecordReading ReadRecordFile(FileSystem& files, const char* folder, const char* name, InstallRecord& record) {
  RecordReading reading;
  record.Reserve(0, 0);
  char path[kTextBufferSize];
  if (!InFolder(path, folder, name) || !files.FileExists(path)) return reading;
  char* bytes = nullptr;
  std::size_t size = 0;
  if ((reading.error = files.ReadWholeFile(path, kMaxRecordBytes + 1, bytes, size)) != 0) {
    reading.read = RecordRead::Unreadable;
    return reading;
  }
  const RecordDamage damage = ParseRecord(bytes, size, record, reading.line);
  delete[] bytes;
  if (damage != RecordDamage::None) {
    reading.read = damage == RecordDamage::NotARecord ? RecordRead::NotARecord : RecordRead::Damaged;
  } else if (!SamePath(record.folder, folder)) {
    reading.read = RecordRead::OtherFolder;
    record.Reserve(0, 0);
  } else {
    reading.read = RecordRead::Intact;
  }
  return reading;
}

RecordReading ReadInstallation(FileSystem& files, const char* folder, InstallRecord& record) {
  RecordReading reading = ReadRecordFile(files, folder, kRecordName, record);
  if (reading.read == RecordRead::Intact && record.stage != RecordStage::Done) {
    reading.read = RecordRead::Damaged;
    reading.line = 2;
    record.Reserve(0, 0);
  }
  return reading;
}

std::uint32_t WriteRecordFile(FileSystem& files, const char* name, const InstallRecord& record) {
  char draft[kTextBufferSize];
  char path[kTextBufferSize];
  if (!InFolder(draft, record.folder, kDraftName) || !InFolder(path, record.folder, name)) return kErrorPathNotFound;
  const std::size_t length = ComposeRecord(record, nullptr, 0);
  struct Text {
    char* bytes;
    ~Text() { delete[] bytes; }
  } text{new (std::nothrow) char[length + 1]};
  if (!text.bytes) return kErrorNotEnoughMemory;
  ComposeRecord(record, text.bytes, length + 1);
  std::uint32_t error = files.WriteWholeFile(draft, text.bytes, length);
  if (error == 0) error = files.ReplaceFile(draft, path);
  if (error != 0) files.RemoveFile(draft);
  return error;
}

bool SwapIn(FileSystem& files, const InstallRecord& journal, StepFailure& failure) {
  for (int index = 0; index < journal.fileCount; ++index) {
    Places names;
    if (!names.Compose(journal, index)) return Fail(failure, journal.files[index].path, kErrorPathNotFound);
    if (!files.FileExists(names.staged)) continue;  // already in its place
    if (files.FileExists(names.place)) {
      // A file moved aside by an earlier run that never removed it is of no more use.
      if (files.FileExists(names.retired)) files.RemoveFile(names.retired);
      if (const std::uint32_t error = files.MoveFile(names.place, names.retired)) return Fail(failure, names.place, error);
    }
    if (const std::uint32_t error = files.MoveFile(names.staged, names.place)) return Fail(failure, names.place, error);
  }
  return true;
}

bool SwapBack(FileSystem& files, const InstallRecord& journal, StepFailure& failure) {
  for (int index = journal.fileCount; index-- > 0;) {
    Places names;
    if (!names.Compose(journal, index)) return Fail(failure, journal.files[index].path, kErrorPathNotFound);
    // Without a staged copy the new file is in its place: it goes back to its staged name.
    if (!files.FileExists(names.staged) && files.FileExists(names.place)) {
      if (const std::uint32_t error = files.MoveFile(names.place, names.staged)) return Fail(failure, names.place, error);
    }
    if (files.FileExists(names.retired) && !files.FileExists(names.place)) {
      if (const std::uint32_t error = files.MoveFile(names.retired, names.place)) return Fail(failure, names.retired, error);
    }
  }
  return true;
}

void DiscardStaged(FileSystem& files, const InstallRecord& journal) {
  for (int index = 0; index < journal.fileCount; ++index) {
    Places names;
    if (names.Compose(journal, index) && files.FileExists(names.staged)) files.RemoveFile(names.staged);
  }
  for (int index = journal.madeFolderCount; index-- > 0;) {
    char path[kTextBufferSize];
    if (InFolder(path, journal.folder, journal.madeFolders[index])) files.RemoveEmptyFolder(path);
  }
  char path[kTextBufferSize];
  if (InFolder(path, journal.folder, kJournalName)) files.RemoveFile(path);
  if (journal.folderMade) files.RemoveEmptyFolder(journal.folder);
}

void RemoveRetired(FileSystem& files, const InstallRecord& record) {
  for (int index = 0; index < record.fileCount; ++index) {
    Places names;
    if (names.Compose(record, index) && files.FileExists(names.retired)) files.RemoveFile(names.retired);
  }
}

bool Commit(FileSystem& files, InstallRecord& journal, StepFailure& failure) {
  char path[kTextBufferSize];
  char record[kTextBufferSize];
  if (!InFolder(path, journal.folder, kJournalName) || !InFolder(record, journal.folder, kRecordName)) {
    return Fail(failure, journal.folder, kErrorPathNotFound);
  }
  if (journal.stage != RecordStage::Done) {
    journal.stage = RecordStage::Done;
    if (const std::uint32_t error = WriteRecordFile(files, kJournalName, journal)) return Fail(failure, path, error);
  }
  if (const std::uint32_t error = files.ReplaceFile(path, record)) return Fail(failure, record, error);
  RemoveRetired(files, journal);
  return true;
}

Recovery Recover(FileSystem& files, const char* folder, StepFailure& failure) {
  char draft[kTextBufferSize];
  if (InFolder(draft, folder, kDraftName) && files.FileExists(draft)) files.RemoveFile(draft);  // a write cut short
  InstallRecord journal;
  const RecordReading reading = ReadRecordFile(files, folder, kJournalName, journal);
  if (reading.read == RecordRead::Missing) {
    InstallRecord record;
    if (ReadInstallation(files, folder, record).read == RecordRead::Intact) RemoveRetired(files, record);
    return Recovery::Nothing;
  }
  if (reading.read != RecordRead::Intact) return Recovery::Unreadable;
  switch (journal.stage) {
    case RecordStage::Undoing:
      if (!SwapBack(files, journal, failure)) return Recovery::Failed;
      [[fallthrough]];
    case RecordStage::Staging:
      DiscardStaged(files, journal);
      return Recovery::Undone;
    case RecordStage::Swapping:
      if (!SwapIn(files, journal, failure)) return Recovery::Failed;
      [[fallthrough]];
    case RecordStage::Done: break;
  }
  return Commit(files, journal, failure) ? Recovery::CarriedForward : Recovery::Failed;
}
