#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/browser/DownloadFile.h"
#include "core/browser/DownloadProgress.h"
#include "core/browser/DownloadRules.h"
#include "core/text/Utf8.h"

namespace zelvora {
namespace {

TEST(DownloadRulesTest, SuggestedNamesStayOneHarmlessNameInTheFolder) {
  EXPECT_EQ(CleanDownloadName("../x"), "x");
  EXPECT_EQ(CleanDownloadName("a/b"), "b");
  EXPECT_EQ(CleanDownloadName("C:\\Users\\me\\setup.exe"), "setup.exe");
  EXPECT_EQ(CleanDownloadName("dir/"), "download");
  EXPECT_EQ(CleanDownloadName(".."), "download");
  EXPECT_EQ(CleanDownloadName("."), "download");
  EXPECT_EQ(CleanDownloadName(""), "download");
  EXPECT_EQ(CleanDownloadName(" \t\r\n"), "download");
  EXPECT_EQ(CleanDownloadName(".bashrc"), "bashrc");
  EXPECT_EQ(CleanDownloadName("  report\x01\t2024.pdf\r\n"), "report__2024.pdf");
  EXPECT_EQ(CleanDownloadName(std::string("a\0b.txt", 7)), "a_b.txt");
  EXPECT_EQ(CleanDownloadName("\xFF\xFE.txt"), "__.txt");
  EXPECT_EQ(CleanDownloadName("Pr\xC3\xA4sentation.odp"), "Pr\xC3\xA4sentation.odp");

  // 130 three-byte characters and ".txt": 394 bytes, cut between characters, extension kept.
  std::string wide;
  for (int i = 0; i < 130; ++i)
    wide += "\xE6\x97\xA5";
  const std::string cut = CleanDownloadName(wide + ".txt");
  EXPECT_LE(cut.size(), kDownloadNameMax);
  EXPECT_GT(cut.size(), kDownloadNameMax - 8);
  ASSERT_TRUE(cut.ends_with(".txt"));
  EXPECT_EQ(wide.substr(0, cut.size() - 4), cut.substr(0, cut.size() - 4));
  EXPECT_EQ((cut.size() - 4) % 3, 0u);
  // An "extension" too long to be one is cut like the rest.
  EXPECT_EQ(CleanDownloadName("a." + std::string(300, 'x')).size(), kDownloadNameMax);
}

TEST(DownloadRulesTest, FreeNamesCountUpAndStayShort) {
  std::set<std::string> taken = {"a.txt", "a (1).txt", "README", "archive.tar.gz"};
  const auto isTaken = [&taken](const std::string& name) { return taken.count(name) > 0; };
  EXPECT_EQ(FreeDownloadName("b.txt", isTaken), "b.txt");
  EXPECT_EQ(FreeDownloadName("a.txt", isTaken), "a (2).txt");
  EXPECT_EQ(FreeDownloadName("README", isTaken), "README (1)");
  EXPECT_EQ(FreeDownloadName("archive.tar.gz", isTaken), "archive.tar (1).gz");

  const std::string longName = CleanDownloadName(std::string(300, 'n') + ".pdf");
  taken.insert(longName);
  const std::string free = FreeDownloadName(longName, isTaken);
  EXPECT_LE(free.size(), kDownloadNameMax);
  EXPECT_TRUE(free.ends_with("n (1).pdf")) << free;

  EXPECT_EQ(FreeDownloadName("x.bin", [](const std::string&) { return true; }), "");
}

TEST(DownloadRulesTest, ProgramsAreKnownByExtensionOrType) {
  EXPECT_TRUE(IsProgramDownload("setup.EXE", "application/octet-stream"));
  EXPECT_TRUE(IsProgramDownload("Tool-1.2.AppImage", ""));
  EXPECT_TRUE(IsProgramDownload("install.sh", "text/plain"));
  EXPECT_TRUE(IsProgramDownload("download", "application/x-msdownload; charset=binary"));
  EXPECT_TRUE(IsProgramDownload("pkg", " Application/Vnd.Debian.Binary-Package"));
  EXPECT_FALSE(IsProgramDownload("paper.pdf", "application/pdf"));
  EXPECT_FALSE(IsProgramDownload("setup.exe.txt", "text/plain"));
  EXPECT_FALSE(IsProgramDownload("sh", "application/octet-stream"));
}

TEST(DownloadRulesTest, ProgressTextReadsWithAndWithoutTotalOrSpeed) {
  constexpr std::int64_t kMiB = 1024 * 1024;
  EXPECT_EQ(FormatDownloadProgress(512 * kMiB, 1024 * kMiB, 1.0 * kMiB),
            "512 MB of 1.0 GB, 1.0 MB/s, 8 min 32 s left");
  EXPECT_EQ(FormatDownloadProgress(3565158, 10 * 1024 * kMiB, 12.1 * kMiB),
            "3.4 MB of 10.0 GB, 12.1 MB/s, 14 min 7 s left");
  // Unknown total (or one the server got wrong): no "of", no time left.
  EXPECT_EQ(FormatDownloadProgress(3565158, -1, 12.1 * kMiB), "3.4 MB, 12.1 MB/s");
  EXPECT_EQ(FormatDownloadProgress(5000, 1000, 0), "4.9 KB");
  // No speed yet, or a stalled one: no time left.
  EXPECT_EQ(FormatDownloadProgress(1000, 5000, 0), "1000 bytes of 4.9 KB");
  EXPECT_EQ(FormatDownloadProgress(1, 2, -3), "1 byte of 2 bytes");
  // Large values keep their unit; a time left of ages is not shown.
  EXPECT_EQ(FormatDownloadProgress(LLONG_MAX, -1, 0), "8.0 EB");
  EXPECT_EQ(FormatDownloadProgress(1, LLONG_MAX, 1.0), "1 byte of 8.0 EB, 1 byte/s");
  EXPECT_EQ(FormatDownloadProgress(0, 2 * 3600 * kMiB + 5 * 60 * kMiB, 1.0 * kMiB),
            "0 bytes of 7.3 GB, 1.0 MB/s, 2 h 5 min left");
  // Rounding never shows "1024 KB" or "100.0 MB".
  EXPECT_EQ(FormatByteSize(kMiB - 1), "1.0 MB");
  EXPECT_EQ(FormatByteSize(static_cast<std::int64_t>(99.97 * kMiB)), "100 MB");
}

TEST(DownloadRulesTest, RateFollowsTheBytesSmoothly) {
  constexpr double kMiB = 1024 * 1024;
  TransferRate rate;
  rate.Sample(0, 10'000);
  EXPECT_EQ(rate.BytesPerSecond(), 0);
  rate.Sample(static_cast<std::int64_t>(kMiB), 11'000);
  EXPECT_DOUBLE_EQ(rate.BytesPerSecond(), kMiB);
  // A stall of a quarter second only slows the rate a little.
  rate.Sample(static_cast<std::int64_t>(kMiB), 11'250);
  EXPECT_GT(rate.BytesPerSecond(), 0.9 * kMiB);
  EXPECT_LT(rate.BytesPerSecond(), kMiB);
  // A steady new speed is reached in a while.
  std::int64_t received = static_cast<std::int64_t>(kMiB);
  for (std::int64_t ms = 11'500; ms <= 41'250; ms += 250) {
    received += static_cast<std::int64_t>(kMiB / 2);
    rate.Sample(received, ms);
  }
  EXPECT_NEAR(rate.BytesPerSecond(), 2 * kMiB, 0.01 * kMiB);
  // A clock that goes back starts over without a wild value.
  rate.Sample(received + 1000, 5'000);
  EXPECT_NEAR(rate.BytesPerSecond(), 2 * kMiB, 0.01 * kMiB);
}

std::string Content(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(DownloadRulesTest, FinishedFilesNeverReplaceWhatTheUserDidNotAgreeTo) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zelvora-download-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto write = [&folder](const std::string& name, const std::string& content) {
    std::ofstream(folder / name, std::ios::binary) << content;
  };
  write("x.txt", "old");
  write("x (1).txt", "older");
  write("x.txt.part", "new");
  const DownloadPlacement placed = PlaceDownload(folder.string(), "x.txt.part", "x.txt", false);
  EXPECT_TRUE(placed.ok) << placed.error;
  EXPECT_EQ(placed.name, "x (2).txt");
  EXPECT_EQ(Content(folder / "x.txt"), "old");
  EXPECT_EQ(Content(folder / "x (1).txt"), "older");
  EXPECT_EQ(Content(folder / "x (2).txt"), "new");
  EXPECT_FALSE(std::filesystem::exists(folder / "x.txt.part"));

  write("x.txt.part", "newest");
  const DownloadPlacement replaced = PlaceDownload(folder.string(), "x.txt.part", "x.txt", true);
  EXPECT_TRUE(replaced.ok) << replaced.error;
  EXPECT_EQ(replaced.name, "x.txt");
  EXPECT_EQ(Content(folder / "x.txt"), "newest");

  // A part file that is gone is reported, and nothing appears.
  const DownloadPlacement missing = PlaceDownload(folder.string(), "y.part", "y", false);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "y"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zelvora
