#include "support/temp_prefix.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace qm::testing {

std::string MakeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillmoder-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  return buffer.data();
}

void RemoveHostTree(const std::string& hostPath) {
  std::error_code ec;
  auto status = fs::symlink_status(hostPath, ec);
  if (ec) return;
  if (fs::is_directory(status)) {
    fs::permissions(hostPath, fs::perms::owner_all, fs::perm_options::add, ec);
    std::vector<std::string> children;
    for (auto it = fs::directory_iterator(hostPath, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      children.push_back(it->path().string());
    }
    for (const auto& child : children) RemoveHostTree(child);
  }
  fs::remove(hostPath, ec);
}

TempPrefix::TempPrefix() : root_(MakeTempFolder()) {
  fs::create_directories(root_ + "/drive_c");
  fs::create_directories(root_ + "/dosdevices");
  fs::create_directory_symlink("../drive_c", root_ + "/dosdevices/c:");
}

TempPrefix::~TempPrefix() { RemoveHostTree(root_); }

std::string TempPrefix::Host(const std::string& windowsPath) const {
  std::string rest = windowsPath.size() >= 2 && windowsPath[1] == ':' ? windowsPath.substr(2)
                                                                      : windowsPath;
  std::replace(rest.begin(), rest.end(), '\\', '/');
  while (!rest.empty() && rest.back() == '/') rest.pop_back();
  if (!rest.empty() && rest.front() != '/') rest.insert(rest.begin(), '/');
  return root_ + "/drive_c" + rest;
}

void WriteHostFile(const std::string& hostPath, const std::string& content) {
  fs::create_directories(fs::path(hostPath).parent_path());
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + hostPath);
}

bool HostExists(const std::string& hostPath) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(hostPath, ec));
}

void TempPrefix::File(const std::string& windowsPath, const std::string& content) {
  WriteHostFile(Host(windowsPath), content);
}

void TempPrefix::FileOfSize(const std::string& windowsPath, int64_t bytes) {
  std::string content(static_cast<size_t>(bytes), '\0');
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('a' + i % 26);
  File(windowsPath, content);
}

void TempPrefix::Folder(const std::string& windowsPath) { fs::create_directories(Host(windowsPath)); }

void TempPrefix::Link(const std::string& windowsPath, const std::string& target) {
  fs::path host = Host(windowsPath);
  fs::create_directories(host.parent_path());
  fs::create_symlink(target, host);
}

void TempPrefix::Chmod(const std::string& windowsPath, unsigned mode) {
  // Linux has no mode of a link's own: a link is refused, so that its target,
  // which may lie outside the prefix, is never changed.
  const std::string host = Host(windowsPath);
  if (fs::is_symlink(fs::symlink_status(host)) || chmod(host.c_str(), mode) != 0) {
    throw std::runtime_error("chmod failed: " + windowsPath);
  }
}

bool TempPrefix::Exists(const std::string& windowsPath) const { return HostExists(Host(windowsPath)); }

bool TempPrefix::IsEmptyFolder(const std::string& windowsPath) const {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(Host(windowsPath), ec)) &&
         fs::is_empty(Host(windowsPath), ec);
}

DriveMap TempPrefix::Drives() const { return DriveMap{{'C', root_ + "/drive_c"}}; }

std::unique_ptr<Platform> TempPrefix::MakePlatform() const { return Platform::FromDriveMap(Drives()); }

namespace {

uint64_t HashFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  uint64_t hash = 1469598103934665603ull;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    }
  }
  return hash;
}

void SnapshotInto(const fs::path& root, const fs::path& dir, std::vector<std::string>& lines) {
  std::error_code ec;
  for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const fs::path& path = it->path();
    std::string rel = fs::relative(path, root).string();
    auto status = fs::symlink_status(path);
    std::ostringstream line;
    if (fs::is_symlink(status)) {
      line << rel << " link " << fs::read_symlink(path).string();
    } else if (fs::is_directory(status)) {
      line << rel << " dir";
      SnapshotInto(root, path, lines);
    } else {
      line << rel << " file " << fs::file_size(path) << " " << std::hex << HashFile(path);
    }
    lines.push_back(line.str());
  }
}

}  // namespace

std::string Snapshot(const std::string& hostPath) {
  std::vector<std::string> lines;
  SnapshotInto(hostPath, hostPath, lines);
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const auto& line : lines) out += line + "\n";
  return out;
}

}  // namespace qm::testing
