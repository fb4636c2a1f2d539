#include "cli/AtomicFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

std::size_t Entries(const std::filesystem::path& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                std::filesystem::directory_iterator()));
}

// The batch tool's test under a file size limit shows a failed write keeping
// the old file whole with no temporary left.
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
  EXPECT_EQ(Entries(dir.path()), 1u);
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder.txt"), "x").ok());
}

}  // namespace
}  // namespace korimo::testing
