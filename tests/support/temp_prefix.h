// A Wine-style prefix in a fresh temporary folder: <root>/drive_c with
// <root>/dosdevices/c: linking to it. Every test that touches files works on
// one of these, never on the machine's own folders. Removed with all its
// contents (permissions restored first) when the object goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace qm::testing {

class TempPrefix {
 public:
  TempPrefix();
  ~TempPrefix();
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;

  // The prefix folder (what WINEPREFIX would name).
  const std::string& Root() const { return root_; }
  // Host path of a Windows path on drive C ("C:\a\b" -> <root>/drive_c/a/b).
  std::string Host(const std::string& windowsPath) const;

  // Creates a file (and its missing parent folders) holding `content`.
  void File(const std::string& windowsPath, const std::string& content = "");
  // Creates a file of `bytes` bytes of a repeating pattern.
  void FileOfSize(const std::string& windowsPath, int64_t bytes);
  void Folder(const std::string& windowsPath);
  // Creates a symbolic link at the Windows path pointing at `target` as given.
  void Link(const std::string& windowsPath, const std::string& target);
  // Sets the host permission bits of the entry; throws for a link.
  void Chmod(const std::string& windowsPath, unsigned mode);

  // True when an entry, a link included, is at the Windows path.
  bool Exists(const std::string& windowsPath) const;
  // True when the Windows path names a real folder with nothing in it.
  bool IsEmptyFolder(const std::string& windowsPath) const;

  DriveMap Drives() const;
  std::unique_ptr<Platform> MakePlatform() const;

 private:
  std::string root_;
};

// Writes a file by host path (and its missing parent folders), also for names
// that a Windows path cannot hold.
void WriteHostFile(const std::string& hostPath, const std::string& content);
// True when an entry, a link included, is at the host path.
bool HostExists(const std::string& hostPath);
// Makes a fresh empty temporary folder; the caller removes it.
std::string MakeTempFolder();
// Removes a host folder tree without following links, restoring permissions.
void RemoveHostTree(const std::string& hostPath);
// One line per entry below a host folder, sorted: relative path, kind, size,
// content hash or link target. Equal snapshots mean nothing there changed.
std::string Snapshot(const std::string& hostPath);

}  // namespace qm::testing
