// Quillmoder benchmark: builds a synthetic prefix in a temporary folder and
// measures, in one run and side by side, the scan pass against `du -sb` of the
// same folders, the clean pass against `rm -rf` of an identical copy, the
// decode and load of the embedded rules, and the peak memory. Prints one
// "name value" line per figure.
//
//   quillmoder_bench [files-in-temp]   (default 200000)

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "clean/clean_pass.h"
#include "rules/rules_decoder.h"
#include "rules/rules_document.h"
#include "scan/app_state.h"
#include "scan/scan_pass.h"
#include "support/recording_view.h"
#include "support/temp_prefix.h"

namespace fs = std::filesystem;
using qm::testing::TempPrefix;

namespace {

const char kUser[] = "alice";
const std::string kLocal = std::string("C:\\Users\\") + kUser + "\\AppData\\Local\\";
const std::string kTemp = kLocal + "Temp";
const std::string kFirefoxEntries =
    kLocal + "Mozilla\\Firefox\\Profiles\\b3nch.default\\cache2\\entries";
const std::string kChromeCache = kLocal + "Google\\Chrome\\User Data\\Default\\Cache";

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Best(int runs, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, Seconds(work));
  return best;
}

void WriteFile(const std::string& path, size_t bytes) {
  static const std::string kContent(8192, 'q');
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fwrite(kContent.data(), 1, std::min(bytes, kContent.size()), out);
  std::fclose(out);
}

// `count` files: half flat in the folder, half spread over 100 nested folders.
void FillFolder(const std::string& host, int count, bool nested) {
  fs::create_directories(host);
  int flat = nested ? count / 2 : count;
  for (int i = 0; i < flat; ++i) WriteFile(host + "/f" + std::to_string(i) + ".tmp", 64 + i % 4000);
  for (int i = flat; i < count; ++i) {
    int group = i % 100;
    std::string dir = host + "/dir" + std::to_string(group) + "/sub" + std::to_string(i % 7);
    if (i - flat < 700) fs::create_directories(dir);
    WriteFile(dir + "/n" + std::to_string(i) + ".dat", 100 + i % 3000);
  }
}

void MakeJunk(const TempPrefix& prefix, int files) {
  FillFolder(prefix.Host(kTemp), files, true);
  FillFolder(prefix.Host(kFirefoxEntries), files / 2, false);
  FillFolder(prefix.Host(kChromeCache) + "/Cache_Data", files / 10, false);
}

std::string JunkFolders(const TempPrefix& prefix) {
  return "'" + prefix.Host(kTemp) + "' '" + prefix.Host(kFirefoxEntries) + "' '" +
         prefix.Host(kChromeCache) + "'";
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

void Print(const char* name, double value) { std::printf("%s %.4g\n", name, value); }

void FreshState(qm::AppState& state) {
  state.RulesKey = qm::EmbeddedRulesKey();
  state.SystemInfo = {kUser, "C:\\windows", "C:\\windows\\system32"};
  state.CategoryFlags = {1, 0, 1, 0};
  state.FoundItems.clear();
  state.ScanTotalBytes = 0;
}

}  // namespace

int main(int argc, char** argv) {
  int files = argc > 1 ? std::atoi(argv[1]) : 200000;
  TempPrefix scanned, copy;
  MakeJunk(scanned, files);
  MakeJunk(copy, files);
  auto platform = scanned.MakePlatform();

  // Rules decode and load, the work the start button and the scan pass repeat.
  const int kLoads = 20;
  qm::RulesDocument document;
  double loadSeconds = Seconds([&] {
    for (int i = 0; i < kLoads; ++i) {
      document.LoadBytes(qm::RulesDecoder(qm::EmbeddedRulesBlob(), qm::EmbeddedRulesKey()));
    }
  });

  Run("du -sb " + JunkFolders(scanned) + " >/dev/null");  // warm the caches
  double du = Best(3, [&] { Run("du -sb " + JunkFolders(scanned) + " >/dev/null"); });
  qm::AppState state;
  double scan = Best(3, [&] {
    FreshState(state);
    qm::testing::RecordingView view;
    qm::ScanPass(state, *platform, view, qm::EmbeddedRulesBlob());
  });
  size_t foundItems = state.FoundItems.size();
  int64_t scanBytes = state.ScanTotalBytes;

  qm::testing::RecordingView cleanView;
  double clean = Seconds([&] { qm::CleanPass(state, *platform, cleanView); });
  double rm = Seconds([&] { Run("rm -rf " + JunkFolders(copy)); });
  // The peak over the whole run: the scans and the clean of their found items.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);

  Print("files", files + files / 2 + files / 10);
  Print("found_items", static_cast<double>(foundItems));
  Print("scan_total_mb", scanBytes / 1048576.0);
  Print("scan_seconds", scan);
  Print("du_seconds", du);
  Print("scan_vs_du", scan / du);
  Print("clean_seconds", clean);
  Print("rm_seconds", rm);
  Print("clean_vs_rm", clean / rm);
  Print("decode_load_ms", loadSeconds * 1000 / kLoads);
  Print("peak_memory_mb", usage.ru_maxrss / 1024.0);
  return 0;
}
