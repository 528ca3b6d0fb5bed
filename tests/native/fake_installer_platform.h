// The installer's platform for native tests: a case-insensitive file system with drives A:, C:,
// D: and E:, the shell's folders and shortcuts over it, and the entry and clock; each keeps a log
// of what was done, takes injected errors, and can be "killed" after a number of changes (it
// throws Killed, as if the process had ended between two steps).
#pragma once
#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "installer/copy_worker.h"
#include "installer/file_system.h"
#include "installer/shortcuts.h"

namespace fake {

struct Killed {};

inline std::string Key(const std::string& path) {
  std::string key = path;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
  return key;
}

inline std::string Parent(const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

inline FileDigest DigestOf(const std::string& content) {
  return FileDigest{content.size(), ContinueHash(kHashStart, content.data(), content.size())};
}

class FileSystem final : public ::FileSystem {
 public:
  struct Node {
    bool folder = false;
    std::string content;
    std::string name;  // the path as it was made
  };

  void AddFolder(const std::string& path) { Put(path, Node{true, "", path}); }
  void AddFile(const std::string& path, const std::string& content) { Put(path, Node{false, content, path}); }
  void Erase(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    nodes.erase(Key(path));
  }
  bool HasFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = nodes.find(Key(path));
    return it != nodes.end() && !it->second.folder;
  }
  bool HasFolder(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = nodes.find(Key(path));
    return it != nodes.end() && it->second.folder;
  }
  // The file's content, or "(none)".
  std::string Content(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = nodes.find(Key(path));
    return it == nodes.end() || it->second.folder ? "(none)" : it->second.content;
  }
  // Every file and folder below folder ("NAME" or "NAME\" for a folder), relative, in order.
  std::vector<std::string> Below(const std::string& folder) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> found;
    const std::string prefix = Key(folder) + (folder.back() == '\\' ? "" : "\\");
    for (const auto& node : nodes) {
      if (node.first.compare(0, prefix.size(), prefix) != 0) continue;
      found.push_back(node.second.name.substr(prefix.size()) + (node.second.folder ? "\\" : ""));
    }
    return found;
  }
  std::map<std::string, std::string> Snapshot() {
    std::lock_guard<std::mutex> lock(mutex);
    std::map<std::string, std::string> files;
    for (const auto& node : nodes) files[node.second.name] = node.second.folder ? "<folder>" : node.second.content;
    return files;
  }
  std::vector<std::string> Log() {
    std::lock_guard<std::mutex> lock(mutex);
    return log;
  }
  void Mark(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back(what);
  }
  int Changes() {
    std::lock_guard<std::mutex> lock(mutex);
    return changes;
  }

  std::uint32_t CreateFolder(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    Spend("mkdir " + std::string(path));
    if (auto error = Injected(folderErrors, path)) return error;
    if (nodes.count(Key(path))) return kErrorAlreadyExists;
    if (!ParentFolder(path)) return kErrorPathNotFound;
    nodes[Key(path)] = Node{true, "", path};
    return 0;
  }
  bool IsFolder(const char* path) override { return HasFolder(path); }
  bool FileExists(const char* path) override { return HasFile(path); }
  std::uint32_t CopyFileOver(const char* source, const char* destination) override {
    std::function<void(const std::string&)> hook;
    {
      std::lock_guard<std::mutex> lock(mutex);
      Spend("copy " + std::string(destination));
      ++copies;
      auto from = nodes.find(Key(source));
      if (from == nodes.end() || from->second.folder) return kErrorFileNotFound;
      if (!ParentFolder(destination) || WideLength(destination) >= kMaxPath) return kErrorPathNotFound;
      auto to = nodes.find(Key(destination));
      if (to != nodes.end() && to->second.folder) return kErrorAccessDenied;
      if (auto error = Injected(copyErrors, destination)) {
        // A full drive: the file is begun and cut short, as the platform's copy leaves it.
        if (error == kErrorDiskFull) nodes[Key(destination)] = Node{false, "", destination};
        return error;
      }
      nodes[Key(destination)] = Node{false, from->second.content, destination};
      hook = afterCopy;
    }
    if (hook) hook(destination);
    return 0;
  }
  std::uint32_t MoveFile(const char* from, const char* to) override { return Move(from, to, false); }
  std::uint32_t ReplaceFile(const char* from, const char* to) override { return Move(from, to, true); }
  std::uint32_t RemoveFile(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    Spend("remove " + std::string(path));
    if (auto error = Injected(removeErrors, path)) return error;
    auto it = nodes.find(Key(path));
    if (it == nodes.end() || it->second.folder) return kErrorFileNotFound;
    nodes.erase(it);
    return 0;
  }
  void RemoveEmptyFolder(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = nodes.find(Key(path));
    if (it == nodes.end() || !it->second.folder) return;
    const std::string prefix = Key(path) + "\\";
    for (const auto& node : nodes) {
      if (node.first.compare(0, prefix.size(), prefix) == 0) return;
    }
    Spend("rmdir " + std::string(path));
    nodes.erase(Key(path));
  }
  std::uint32_t CheckRemovable(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex);
    return Injected(inUse, path);
  }
  std::uint32_t DigestFile(const char* path, FileDigest& digest) override {
    std::lock_guard<std::mutex> lock(mutex);
    if (auto error = Injected(unreadable, path)) return error;
    auto it = nodes.find(Key(path));
    if (it == nodes.end() || it->second.folder) return kErrorFileNotFound;
    digest = DigestOf(it->second.content);
    return 0;
  }
  std::uint32_t ReadWholeFile(const char* path, std::size_t limit, char*& bytes, std::size_t& size) override {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = nodes.find(Key(path));
    if (it == nodes.end() || it->second.folder) return kErrorFileNotFound;
    size = std::min(limit, it->second.content.size());
    bytes = new char[size + 1];
    std::memcpy(bytes, it->second.content.data(), size);
    return 0;
  }
  std::uint32_t WriteWholeFile(const char* path, const char* bytes, std::size_t size) override {
    std::lock_guard<std::mutex> lock(mutex);
    Spend("write " + std::string(path));
    if (!ParentFolder(path)) return kErrorPathNotFound;
    if (auto error = Injected(writeErrors, path)) return error;
    nodes[Key(path)] = Node{false, std::string(bytes, size), path};
    return 0;
  }
  void ForEachEntry(const char* folder, Visit visit, void* context) override {
    for (const std::string& relative : Below(folder)) {
      const bool isFolder = relative.back() == '\\';
      if (!visit(isFolder ? relative.substr(0, relative.size() - 1).c_str() : relative.c_str(), isFolder, context)) return;
    }
  }

  // Injected errors, by Key() of the path.
  std::map<std::string, std::uint32_t> folderErrors, copyErrors, moveErrors, removeErrors, writeErrors, inUse, unreadable;
  // Changes left before the process is "killed"; -1 for never.
  int budget = -1;
  std::function<void(const std::string&)> afterCopy;
  int copies = 0;

 private:
  void Put(const std::string& path, Node node) {
    std::lock_guard<std::mutex> lock(mutex);
    nodes[Key(path)] = node;
  }
  // Every change counts against the budget, and is logged.
  void Spend(const std::string& what) {
    if (budget == 0) throw Killed{};
    if (budget > 0) --budget;
    ++changes;
    log.push_back(what);
  }
  static std::uint32_t Injected(const std::map<std::string, std::uint32_t>& errors, const char* path) {
    auto it = errors.find(Key(path));
    return it == errors.end() ? 0 : it->second;
  }
  bool ParentFolder(const std::string& path) {
    const std::string parent = Parent(path);
    if (parent.size() == 2 && parent[1] == ':') return std::strchr("ACDEacde", parent[0]) != nullptr;
    auto it = nodes.find(Key(parent));
    return it != nodes.end() && it->second.folder;
  }
  std::uint32_t Move(const char* from, const char* to, bool replace) {
    std::lock_guard<std::mutex> lock(mutex);
    Spend((replace ? "replace " : "move ") + std::string(from) + " -> " + to);
    if (auto error = Injected(moveErrors, from)) return error;
    auto source = nodes.find(Key(from));
    if (source == nodes.end() || source->second.folder) return kErrorFileNotFound;
    if (!ParentFolder(to)) return kErrorPathNotFound;
    auto target = nodes.find(Key(to));
    if (target != nodes.end() && (!replace || target->second.folder)) return kErrorAlreadyExists;
    Node node = source->second;
    node.name = to;
    nodes.erase(source);
    nodes[Key(to)] = node;
    return 0;
  }

  std::mutex mutex;
  std::map<std::string, Node> nodes;
  std::vector<std::string> log;
  int changes = 0;
};

// The shell over the fake file system: a shortcut is a file "LINK <target>|<working folder>|<description>".
class Shell final : public ShellServices {
 public:
  explicit Shell(FileSystem& files) : files(files) {}
  void GetWindowsFolder(char* buffer, std::size_t size) override { CopyText(buffer, size, windowsFolder.c_str()); }
  bool GetShellFolder(ShortcutKind kind, char* buffer, std::size_t size) override {
    const std::string& known = folders[static_cast<int>(kind)];
    return !known.empty() && CopyText(buffer, size, known.c_str());
  }
  std::int32_t CreateShortcut(const char* target, const char* link, const char* workingFolder,
                              const char* description) override {
    files.Mark("link " + std::string(link));
    made.push_back(Made{target, link, workingFolder, description});
    if (link == failingLink || !files.HasFolder(Parent(link))) return static_cast<std::int32_t>(0x80070005);
    files.AddFile(link, LinkContent(target, workingFolder, description));
    return 0;
  }
  bool ShortcutTarget(const char* link, char* out, std::size_t size) override {
    const std::string content = files.Content(link);
    if (content.compare(0, 5, "LINK ") != 0) return false;
    return CopyText(out, size, content.substr(5, content.find('|') - 5).c_str());
  }
  static std::string LinkContent(const std::string& target, const std::string& workingFolder = "",
                                 const std::string& description = "") {
    return "LINK " + target + "|" + workingFolder + "|" + description;
  }

  struct Made {
    std::string target, link, workingFolder, description;
  };
  std::string windowsFolder = "C:\\WINDOWS";
  std::string folders[kShortcutKinds];  // "" where the shell cannot say
  std::string failingLink;
  std::vector<Made> made;

 private:
  FileSystem& files;
};

class Services final : public InstallServices {
 public:
  explicit Services(FileSystem& files) : files(files) {}
  void Sleep(unsigned milliseconds) override {
    ++sleeps;
    if (onSleep) onSleep(milliseconds);
  }
  std::uint32_t WriteUninstallEntry(const UninstallEntry& written) override {
    files.Mark("entry");
    entry = written;
    ++entriesWritten;
    return entryError;
  }
  void Today(char (&date)[9]) override { std::strcpy(date, "20261208"); }
  PlatformErrorText ErrorText() override { return nullptr; }
  std::uint32_t RemoveEntry() override {
    files.Mark("remove entry");
    ++entriesRemoved;
    return removeEntryError;
  }

  std::function<void(unsigned)> onSleep;
  UninstallEntry entry{};
  int entriesWritten = 0;
  int entriesRemoved = 0;
  std::uint32_t entryError = 0;
  std::uint32_t removeEntryError = 0;
  int sleeps = 0;

 private:
  FileSystem& files;
};

}  // namespace fake
