// How a run puts an installation in place so that, whatever stops it (a Cancel, a failure, the
// process killed between any two steps), the folder comes to hold either the installation that
// was there before or the new one, whole; and how the next run, or the uninstaller, finishes
// what a run left. Platform-free, over FileSystem.
//
// One journal in the folder (Uninstall.JNL, an InstallRecord) says how far the run has come. Each
// version of it, and of the record, is written whole as Uninstall.TMP and then put in place of
// the last in one step, so neither is ever seen half written.
//   staging   every new file is copied beside its place as NAME.pointrel-new; the files in their
//             places are not touched. Undone: the staged copies, the folders the run made and the
//             journal go.
//   swapping  every file is staged and its digest known. For each: the file in its place (if
//             any) is moved aside to NAME.pointrel-old, then the staged copy into its place.
//             Carried forward from any step by doing the same for every file still staged.
//   undoing   a swap that failed is being taken back: each new file goes back to its staged name
//             and the one moved aside back into its place; then as for staging.
//   done      the journal replaces the record (Uninstall.DAT) in one step; the files moved aside
//             go.
// A journal left staging or undoing is undone; one left swapping or done is carried forward.
#pragma once
#include <cstdint>

#include "installer/file_system.h"
#include "installer/install_record.h"
#include "platform/text_buffers.h"

extern const char kRecordName[];     // "Uninstall.DAT"
extern const char kJournalName[];    // "Uninstall.JNL"
extern const char kDraftName[];      // "Uninstall.TMP"
extern const char kStagedSuffix[];   // ".pointrel-new"
extern const char kRetiredSuffix[];  // ".pointrel-old"

// "<folder>\<name><suffix>" into out; false when it does not fit.
bool InFolder(char (&out)[kTextBufferSize], const char* folder, const char* name, const char* suffix = "");

// The file a step failed at and the platform's error.
struct StepFailure {
  char path[kTextBufferSize] = "";
  std::uint32_t error = 0;
  bool Set(const char* failedPath, std::uint32_t failedError);  // returns false, for `return failure.Set(...)`
};

enum class RecordRead {
  Intact,
  Missing,     // no such file
  Unreadable,  // the platform would not read it (error says why)
  NotARecord,  // a file of that name, but not a record of ours
  Damaged,     // cut short, edited, or naming what no record names (line says where, 0 for the check)
  OtherFolder  // intact, but written for another folder
};
struct RecordReading {
  RecordRead read = RecordRead::Missing;
  int line = 0;
  std::uint32_t error = 0;
};

// Reads `name` in folder into record.
RecordReading ReadRecordFile(FileSystem& files, const char* folder, const char* name, InstallRecord& record);
// Writes record as `name` in its own folder: whole as the draft first, then in place of the last.
std::uint32_t WriteRecordFile(FileSystem& files, const char* name, const InstallRecord& record);
// The installation's record (Uninstall.DAT), which must be at the done stage.
RecordReading ReadInstallation(FileSystem& files, const char* folder, InstallRecord& record);

// The steps of the state machine, each repeatable after it was cut short.
bool SwapIn(FileSystem& files, const InstallRecord& journal, StepFailure& failure);
bool SwapBack(FileSystem& files, const InstallRecord& journal, StepFailure& failure);
// Removes the staged copies, the folders the run made (deepest first, when empty), the journal,
// and the installation folder when the run made it and it is empty.
void DiscardStaged(FileSystem& files, const InstallRecord& journal);
// Makes the journal the record, then removes the files moved aside.
bool Commit(FileSystem& files, InstallRecord& journal, StepFailure& failure);
// Removes what a commit moved aside and was cut short before removing.
void RemoveRetired(FileSystem& files, const InstallRecord& record);

enum class Recovery {
  Nothing,         // no journal: the folder holds an installation, or none
  Undone,          // the run's files are gone; what was there before is back
  CarriedForward,  // the run's installation is in place
  Failed,          // a step failed (failure says which); the journal stays for another try
  Unreadable       // a journal that cannot be trusted: nothing was changed
};
// Finishes what an interrupted run left in folder.
Recovery Recover(FileSystem& files, const char* folder, StepFailure& failure);
