#include "cli/AtomicFile.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t Entries(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                std::filesystem::directory_iterator()));
}

// A file size limit stops writes even for root, so the new content cannot be
// completed; the old file must come through whole and no temporary remain.
TEST(AtomicFile, ReplacesWholeFilesOrReportsAReasonAndKeepsTheOldOne) {
  const TempDir dir("atomic");
  const std::string path = dir.File("結果.txt"), bytes("\x8a\xee:a\r\n\0tail\r\n", 13);
  ASSERT_TRUE(WriteFileAtomically(path, "old").ok());
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, bytes).ok());
  EXPECT_EQ(ReadAll(path), bytes);
  struct stat st {};
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's mode is kept
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{1024, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const WriteOutcome failed = WriteFileAtomically(path, std::string(4096, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(failed.error.empty());
  EXPECT_EQ(ReadAll(path), bytes);
  EXPECT_EQ(Entries(dir.path()), 1u);
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder.txt"), "x").ok());
}

}  // namespace
}  // namespace korimo::testing
