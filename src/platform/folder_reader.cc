#include "platform/folder_reader.h"

namespace qm {

FolderReader::FolderReader(UniqueFd folder) {
  if (!folder.valid()) return;
  dir_ = fdopendir(folder.get());
  if (dir_) folder.release();
}

FolderReader::~FolderReader() {
  if (dir_) closedir(dir_);
}

int FolderReader::fd() const { return dir_ ? dirfd(dir_) : -1; }

const dirent* FolderReader::Next() {
  if (!dir_) return nullptr;
  while (const dirent* entry = readdir(dir_)) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    return entry;
  }
  return nullptr;
}

}  // namespace qm
