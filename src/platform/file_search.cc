#include "platform/platform.h"

namespace qm {

bool FileSearch::Next(FindEntry* entry) {
  if (next_ >= entries_.size()) return false;
  *entry = entries_[next_++];
  return true;
}

void FileSearch::Close() {
  entries_.clear();
  next_ = 0;
}

}  // namespace qm
