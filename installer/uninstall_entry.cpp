#include "installer/uninstall_entry.h"

#include <cstring>

#include "installer/failure_reason.h"
#include "installer/install_state.h"

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pointrel";
const char kUninstallerName[] = "Uninstall.EXE";
const char kUninstallArgument[] = "/uninstall";
const char kQuietArgument[] = "/quiet";
const char kDisplayName[] = "Pointrel";
const char kDisplayVersion[] = "2.0";
const char kPublisher[] = "Pointrel";

namespace {

// "\"<program>\" <arguments>": quoted, since the folder may hold spaces.
bool ComposeCommand(char* out, std::size_t size, const char* program, const char* arguments) {
  out[0] = '\0';
  if (AppendText(out, size, "\"") && AppendText(out, size, program) && AppendText(out, size, "\" ") &&
      AppendText(out, size, arguments)) {
    return true;
  }
  out[0] = '\0';
  return false;
}

}  // namespace

std::uint32_t KilobytesFor(std::uint64_t bytes) {
  const std::uint64_t kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  return kb > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(kb);
}

bool FormatInstallDate(int year, int month, int day, char (&out)[9]) {
  if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  const int digits[8] = {year / 1000, year / 100 % 10, year / 10 % 10, year % 10, month / 10, month % 10, day / 10, day % 10};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<char>('0' + digits[i]);
  out[8] = '\0';
  return true;
}

bool ComposeUninstallEntry(UninstallEntry& entry, const char* folder, const char* date, std::uint64_t installedBytes) {
  char uninstaller[kTextBufferSize];
  char quietArguments[32] = "";
  AppendText(quietArguments, sizeof quietArguments, kUninstallArgument);
  AppendText(quietArguments, sizeof quietArguments, " ");
  AppendText(quietArguments, sizeof quietArguments, kQuietArgument);
  if (!CopyText(entry.installLocation, sizeof entry.installLocation, folder) ||
      !JoinPath(entry.displayIcon, sizeof entry.displayIcon, folder, "Pointrel.EXE") ||
      !JoinPath(uninstaller, sizeof uninstaller, folder, kUninstallerName) ||
      !ComposeCommand(entry.uninstallString, sizeof entry.uninstallString, uninstaller, kUninstallArgument) ||
      !ComposeCommand(entry.quietUninstallString, sizeof entry.quietUninstallString, uninstaller, quietArguments) ||
      !CopyText(entry.installDate, sizeof entry.installDate, date)) {
    return false;
  }
  const std::size_t length = std::strlen(entry.installLocation);
  if (length > 3 && entry.installLocation[length - 1] == '\\') entry.installLocation[length - 1] = '\0';
  entry.estimatedSizeKb = KilobytesFor(installedBytes);
  return true;
}
