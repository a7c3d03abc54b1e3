#include "scan/sizes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_prefix.h"

namespace qm {
namespace {

using testing::TempPrefix;

TEST(SizesTest, FormatsConvertedByteCounts) {
  const struct {
    int64_t bytes;
    SizeUnit to;
    const char* text;
  } cases[] = {
      {0, SizeUnit::kKilobytes, "0"},
      {1536, SizeUnit::kKilobytes, "1.5"},
      {1, SizeUnit::kKilobytes, "0.000976563"},  // 0.0009765625: the tie rounds up
      {1048576, SizeUnit::kMegabytes, "1"},
      {1073741824, SizeUnit::kMegabytes, "1024"},
      {100, SizeUnit::kMegabytes, "9.53674e-005"},
      {1024000000, SizeUnit::kKilobytes, "1e+006"},  // 1,000,000 KB in one row
      {1023998976, SizeUnit::kKilobytes, "999999"},
      {1023999488, SizeUnit::kKilobytes, "1e+006"},  // 999999.5 KB rounds up,
      {5368709120, SizeUnit::kMegabytes, "5120"},  // beyond 32 bits
      {1234567, SizeUnit::kBytes, "1.23457e+006"},
      {-1, SizeUnit::kKilobytes, "-0.000976563"},  // an unavailable folder-size service
  };
  for (const auto& c : cases) {
    float value = ConvertSize(static_cast<float>(c.bytes), SizeUnit::kBytes, c.to);
    EXPECT_EQ(FormatSize(value), c.text) << c.bytes << " bytes";
  }
  EXPECT_EQ(KilobytesText(1536), "1.5");
  EXPECT_EQ(MegabytesText(100), "9.53674e-005");
}

TEST(SizesTest, FormatRoundsHalfAwayFromZeroAtTheSixthDigit) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {1.5f, "1.5"},           {0.125f, "0.125"},       {1234565.0f, "1.23457e+006"},
      {999999.5f, "1e+006"},   {12345.25f, "12345.3"},  {-12345.25f, "-12345.3"},
      {0.0001f, "0.0001"},     {0.00001f, "1e-005"},    {100000.0f, "100000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSize(c.value), c.text) << c.value;
}

TEST(SizesTest, ConvertsStepByStepInBothDirections) {
  EXPECT_EQ(ConvertSize(3.0f, SizeUnit::kKilobytes, SizeUnit::kKilobytes), 3.0f);
  EXPECT_EQ(ConvertSize(2.0f, SizeUnit::kMegabytes, SizeUnit::kBytes), 2097152.0f);
  EXPECT_EQ(ConvertSize(1.0f, SizeUnit::kKilobytes, SizeUnit::kMegabytes), 1.0f / 1024);
  // Counts beyond 24 bits are rounded to the nearest float before converting.
  EXPECT_EQ(ConvertSize(static_cast<float>(16777217), SizeUnit::kBytes, SizeUnit::kBytes),
            16777216.0f);
}

TEST(SizesTest, MeasuresFilesAndFoldersOnAPrefix) {
  TempPrefix prefix;
  prefix.FileOfSize("C:\\junk\\a.log", 1000);
  prefix.FileOfSize("C:\\junk\\deep\\er\\b.log", 24);
  prefix.File("C:\\junk\\empty.txt");
  prefix.Folder("C:\\junk\\nothing");
  prefix.FileOfSize("C:\\outside\\big.bin", 4096);
  prefix.Link("C:\\junk\\link", prefix.Host("C:\\outside"));
  auto platform = prefix.MakePlatform();

  EXPECT_EQ(FolderSize(*platform, "C:\\junk"), 1024);
  EXPECT_EQ(FolderSize(*platform, "C:\\junk\\"), 1024);
  EXPECT_EQ(FolderSize(*platform, "C:\\junk\\nothing"), 0);
  EXPECT_EQ(FolderSize(*platform, "C:\\junk\\a.log"), 0);
  EXPECT_EQ(FolderSize(*platform, "C:\\missing"), 0);

  EXPECT_EQ(FileSize(*platform, "C:\\junk\\a.log"), 1000);
  EXPECT_EQ(FileSize(*platform, "C:\\JUNK\\A.LOG"), 1000);
  EXPECT_EQ(FileSize(*platform, "C:\\junk\\empty.txt"), 0);
  EXPECT_EQ(FileSize(*platform, "C:\\junk\\missing.txt"), 0);
  EXPECT_EQ(FileSize(*platform, "C:\\junk\\link"), 0);
  EXPECT_EQ(FileSize(*platform, "C:\\junk"), 0);
}

TEST(SizesTest, FiveGibibyteFileIsNotTruncated) {
  TempPrefix prefix;
  prefix.File("C:\\big\\sparse.bin");
  std::filesystem::resize_file(prefix.Host("C:\\big\\sparse.bin"), 5LL << 30);
  auto platform = prefix.MakePlatform();
  EXPECT_EQ(FileSize(*platform, "C:\\big\\sparse.bin"), 5LL << 30);
  EXPECT_EQ(FolderSize(*platform, "C:\\big"), 5LL << 30);
}

TEST(SizesTest, StoppedFolderWalkEndsEarly) {
  TempPrefix prefix;
  for (int i = 0; i < 50; ++i) prefix.FileOfSize("C:\\many\\f" + std::to_string(i), 10);
  auto platform = prefix.MakePlatform();
  int checks = 0;
  int64_t size = FolderSize(*platform, "C:\\many", [&] { return ++checks >= 3; });
  EXPECT_GE(checks, 3);
  EXPECT_LT(size, 500);  // the walk ended before the last files
}

}  // namespace
}  // namespace qm
