// The batch tool attacked as a hostile user would: outputs over inputs or
// protected files, limits on memory and file size, malformed checks. Each
// case runs the built executable in a fresh folder and asserts the status,
// the cause on standard error, and that no file of the folder changed, none
// appeared (a temporary) and none vanished.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr uid_t kNobody = 65534;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file() || entry.is_symlink())
      files[entry.path().string()] = ReadAll(entry.path());
  }
  return files;
}

struct Attack {
  const char* name;
  std::function<void(const fs::path& dir)> prepare;
  Args args;
  int status;
  std::string cause;
  bool asNobody = false;
  int limit = -1;  // RLIMIT_FSIZE or RLIMIT_AS
  rlim_t bytes = 0;
};

// Runs the executable in `dir`, as the unprivileged user or under a limit.
int RunAttack(const Attack& a, const fs::path& dir, const fs::path& err) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = ::open("/dev/null", O_WRONLY);
    if (fd < 0 || null < 0 || ::dup2(fd, 2) < 0 || ::dup2(null, 1) < 0 || ::chdir(dir.c_str()) != 0)
      ::_exit(100);
    if (a.asNobody && (::setresgid(kNobody, kNobody, kNobody) != 0 ||
                       ::setresuid(kNobody, kNobody, kNobody) != 0))
      ::_exit(101);
    const rlimit limit{a.bytes, a.bytes};
    if (a.limit >= 0 && ::setrlimit(a.limit, &limit) != 0)
      ::_exit(102);
    std::vector<char*> argv{const_cast<char*>(KORIMO_CLI_PATH)};
    for (const std::string& arg : a.args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(KORIMO_CLI_PATH, argv.data());
    ::_exit(103);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

void Write(const fs::path& path, const std::string& bytes, fs::perms mode) {
  std::ofstream(path, std::ios::binary) << bytes;
  fs::permissions(path, mode);
}

TEST(HostileInput, EveryAttackEndsWithItsStatusAndCauseAndLeavesEveryFileAsItWas) {
  const auto rw = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read;
  const auto all = fs::perms::all;
  const std::string huge(400, '9');
  const Attack attacks[] = {
      {"output is the Reference",
       {},
       {"ref.txt", "f1.txt", "-o", "ref.txt"},
       3,
       "korimo-cli: refusing to overwrite an input file: ref.txt"},
      {"output is File1 by another name",
       {},
       {"ref.txt", "f1.txt", "-o./sub/../f1.txt"},
       3,
       "refusing to overwrite an input file: ./sub/../f1.txt"},
      {"output is a link to an input",
       [](const fs::path& d) { fs::create_symlink("ref.txt", d / "link.txt"); },
       {"ref.txt", "f1.txt", "-o", "link.txt"},
       3,
       "refusing to overwrite an input file"},
      {"output is a hard link of an input",
       [](const fs::path& d) { fs::create_hard_link(d / "f1.txt", d / "hard.txt"); },
       {"ref.txt", "f1.txt", "-o", "hard.txt"},
       3,
       "refusing to overwrite an input file"},
      {"read-only output",
       [](const fs::path& d) { Write(d / "out.txt", "old", fs::perms::owner_read); },
       {"ref.txt", "-o", "out.txt"},
       3,
       "korimo-cli: out.txt: read-only"},
      {"another user's file in a folder anyone may write",
       [&](const fs::path& d) {
         fs::create_directory(d / "ww");
         fs::permissions(d / "ww", all);
         Write(d / "ww" / "out.txt", "root's", rw);
       },
       {"ref.txt", "-o", "ww/out.txt"},
       3,
       "korimo-cli: ww/out.txt: read-only",
       true},
      {"writable file in a folder the user may not write",
       [&](const fs::path& d) { Write(d / "sub" / "out.txt", "old", all); },
       {"ref.txt", "-o", "sub/out.txt"},
       3,
       "cannot create a file in the folder sub: Permission",
       true},
      {"output is a folder", {}, {"ref.txt", "-o", "sub/"}, 3, "korimo-cli: sub/: is a directory"},
      {"output over the file-size limit",
       [&](const fs::path& d) { Write(d / "out.txt", "old", rw); },
       {"ref.txt", "f1.txt", "--format", "json", "-o", "out.txt"},
       3,
       "korimo-cli: cannot write out.txt: File too large",
       false,
       RLIMIT_FSIZE,
       4096},
      {"limit too large for a double",
       {},
       {"ref.txt", "f1.txt", "--tolerance", "de:avg<=" + huge},
       2,
       "' (out of range)"},
      {"two checks after one --tolerance",
       {},
       {"ref.txt", "f1.txt", "--tolerance", "de:avg<=2", "de:max<=3", "-o", "/dev/null"},
       2,
       "korimo-cli: unexpected argument de:max<=3: quote each check"},
      {"more than 3000 patches",
       [](const fs::path& d) { WriteChart(d / "over.txt", Flat(3001)); },
       {"over.txt"},
       0,
       "korimo-cli: over.txt: more than 3000 patches; the first 3000 are used"},
  };
  for (const Attack& attack : attacks) {
    SCOPED_TRACE(attack.name);
    if (attack.asNobody && ::geteuid() != 0)
      continue;  // only root can become another user
    TempDir dir("hostile"), io("hostile-io");
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::copy_file(KORIMO_SAMPLES_DIR "/small-reference.txt", dir.path() / "ref.txt");
    fs::copy_file(KORIMO_SAMPLES_DIR "/small-file1.txt", dir.path() / "f1.txt");
    fs::create_directory(dir.path() / "sub");
    if (attack.prepare)
      attack.prepare(dir.path());
    const auto before = Snapshot(dir.path());
    EXPECT_EQ(RunAttack(attack, dir.path(), io.path() / "err"), attack.status);
    EXPECT_NE(ReadAll(io.path() / "err").find(attack.cause), std::string::npos)
        << ReadAll(io.path() / "err");
    EXPECT_EQ(Snapshot(dir.path()), before);
  }
}

// Memory runs out on the 64 MiB buffer a long line takes: the tool says so
// and exits 1 instead of aborting. Under AddressSanitizer `new` aborts, and
// the sanitizer does not start under a limit on the address space.
TEST(HostileInput, RunningOutOfMemoryIsReportedNotAnAbort) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "AddressSanitizer build";
  TempDir dir("hostile-oom"), io("hostile-oom-io");
  WriteChart(dir.path() / "long.txt", {{std::string(4 << 20, 'Z'), 50, 0, 0}});
  Write(dir.path() / "out.txt", "old", fs::perms::owner_read | fs::perms::owner_write);
  const auto before = Snapshot(dir.path());
  const Attack attack{"", {}, {"long.txt", "-o", "out.txt"}, 1, "", false, RLIMIT_AS, 48 << 20};
  EXPECT_EQ(RunAttack(attack, dir.path(), io.path() / "err"), 1);
  EXPECT_EQ(ReadAll(io.path() / "err"), "korimo-cli: out of memory\n");
  EXPECT_EQ(Snapshot(dir.path()), before);
}

}  // namespace
}  // namespace korimo::testing
