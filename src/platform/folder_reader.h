// Lists an open folder entry by entry (readdir over a descriptor), so that the
// entries can then be reached relative to that descriptor with the *at calls.
#pragma once

#include <dirent.h>

#include "platform/unique_fd.h"

namespace qm {

class FolderReader {
 public:
  // Takes over a folder descriptor opened for reading; invalid() when it cannot.
  explicit FolderReader(UniqueFd folder);
  ~FolderReader();
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  bool valid() const { return dir_ != nullptr; }
  // The folder's descriptor, for the *at calls; owned by the reader.
  int fd() const;
  // The next entry other than "." and ".."; null at the end or on an error.
  const dirent* Next();

 private:
  DIR* dir_ = nullptr;
};

}  // namespace qm
