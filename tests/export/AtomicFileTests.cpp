#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <string>

#include "export/AtomicFile.h"

namespace korimo {
namespace {

class AtomicFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const {
    return dir.filePath(QString::fromUtf8(name)).toStdString();
  }

  static std::string Contents(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
  }

  QTemporaryDir dir;
};

TEST_F(AtomicFileTest, WritesAndReplacesWholeFiles) {
  const std::string path = PathOf("結果.txt");
  const std::string bytes("\x8a\xee\x8f\x80:a\r\n\0tail\r\n", 15);
  ASSERT_TRUE(WriteFileAtomically(path, bytes).ok());
  EXPECT_EQ(Contents(path), bytes);
  ASSERT_TRUE(WriteFileAtomically(path, "short").ok());
  EXPECT_EQ(Contents(path), "short");
}

TEST_F(AtomicFileTest, UnwritablePlacesReportAReason) {
  const std::string plain = PathOf("plain.txt");
  ASSERT_TRUE(WriteFileAtomically(plain, "old").ok());
  const WriteOutcome underFile = WriteFileAtomically(plain + "/new.txt", "x");
  EXPECT_FALSE(underFile.error.empty());
  EXPECT_EQ(Contents(plain), "old");
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
  EXPECT_FALSE(WriteFileAtomically(PathOf("folder"), "x").ok());
}

// A file size limit stops writes even for root, so the new content cannot be
// completed; the old file must come through whole and no temporary remain.
TEST_F(AtomicFileTest, AnIncompleteWriteLeavesTheOldFile) {
  const std::string path = PathOf("results.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "old content").ok());
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 1024;
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const WriteOutcome outcome = WriteFileAtomically(path, std::string(256 * 1024, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(Contents(path), "old content");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("results.txt")});
}

}  // namespace
}  // namespace korimo
