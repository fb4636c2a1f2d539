// The batch tool attacked as a hostile user would. Each case runs the built
// executable in a fresh folder, and no file there may change, appear (a
// temporary) or vanish.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

namespace fs = std::filesystem;

// Under AddressSanitizer `new` aborts instead of throwing, and the runtime
// does not start under a limit on the address space.
#if defined(__SANITIZE_ADDRESS__)
#define KORIMO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORIMO_ASAN 1
#endif
#endif

std::map<fs::path, std::string> Snapshot(const fs::path& dir) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    files[entry.path()] = entry.is_directory() ? "" : ReadAll(entry.path());
  return files;
}

struct Attack {
  std::function<void(const fs::path&)> prepare;
  std::vector<std::string> args;
  int status;
  std::string cause;
  bool asNobody = false;  // another user: uid 65534
  int limit = -1;         // RLIMIT_FSIZE or RLIMIT_AS, `bytes`
  rlim_t bytes = 0;
};

int RunAttack(const Attack& a, const fs::path& dir, const fs::path& err) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT, 0644);
    const rlimit limit{a.bytes, a.bytes};
    if (::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0 || ::chdir(dir.c_str()) != 0 ||
        (a.asNobody && (::setresgid(65534, 65534, 65534) || ::setresuid(65534, 65534, 65534))) ||
        (a.limit >= 0 && ::setrlimit(a.limit, &limit) != 0))
      ::_exit(100);
    std::vector<char*> argv{const_cast<char*>(KORIMO_CLI_PATH)};
    for (const std::string& arg : a.args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(KORIMO_CLI_PATH, argv.data());
    ::_exit(101);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

void Write(const fs::path& path, const std::string& bytes, fs::perms mode) {
  std::ofstream(path, std::ios::binary) << bytes;
  fs::permissions(path, mode);
}

TEST(HostileInput, EveryAttackEndsWithItsStatusAndCauseAndChangesNoFile) {
  const fs::perms rw = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
  const std::string ref = "ref.txt", f1 = "f1.txt", refused = "refusing to overwrite an input file";
  const Attack attacks[] = {
      {{}, {ref, f1, "-o", ref}, 3, "korimo-cli: " + refused + ": ref.txt"},
      {{}, {ref, f1, "-o./sub/../f1.txt"}, 3, refused + ": ./sub/../f1.txt"},
      {[](const fs::path& d) { fs::create_symlink("ref.txt", d / "ln"); },
       {ref, f1, "-o", "ln"},
       3,
       refused},
      {[](const fs::path& d) { fs::create_hard_link(d / "f1.txt", d / "ln"); },
       {ref, f1, "-o", "ln"},
       3,
       refused},
      {[](const fs::path& d) { Write(d / "out", "old", fs::perms::owner_read); },
       {ref, "-o", "out"},
       3,
       "korimo-cli: out: read-only"},
      {[&](const fs::path& d) {  // a folder anyone may write, without the sticky bit
         fs::permissions(d / "sub", fs::perms::all);
         Write(d / "sub/out", "root's", rw);
       },
       {ref, "-o", "sub/out"},
       3,
       "korimo-cli: sub/out: read-only",
       true},
      {[](const fs::path& d) { Write(d / "sub/out", "old", fs::perms::all); },
       {ref, "-o", "sub/out"},
       3,
       "cannot create a file in the folder sub: Permission",
       true},
      {{}, {ref, "-o", "sub/"}, 3, "korimo-cli: sub/: is a directory"},
      {[&](const fs::path& d) { Write(d / "out", "old", rw); },
       {ref, f1, "--format=json", "-o", "out"},
       3,
       "cannot write out: File too large",
       false,
       RLIMIT_FSIZE,
       4096},
      {{}, {ref, "--tolerance", "de:avg<=" + std::string(400, '9')}, 2, "' (out of range)"},
      {{},
       {ref, f1, "--tolerance", "de:avg<=2", "de:max<=3"},
       2,
       "korimo-cli: unexpected argument de:max<=3: quote each check"},
      {[](const fs::path& d) { WriteChart(d / "over", Flat(3001)); },
       {"over"},
       0,
       "korimo-cli: over: more than 3000 patches; the first 3000 are used"},
#ifndef KORIMO_ASAN
      {[&](const fs::path& d) {  // too large to be read whole; its line's buffer does not fit
         WriteChart(d / "long", {{std::string(16 << 20, 'Z'), 50, 0, 0}});
         Write(d / "out", "old", rw);
       },
       {"long", "-o", "out"},
       1,
       "korimo-cli: out of memory\n",
       false,
       RLIMIT_AS,
       48 << 20},
#endif
  };
  for (const Attack& attack : attacks) {
    SCOPED_TRACE(attack.cause);
    if (attack.asNobody && ::geteuid() != 0)
      continue;  // only root can become another user
    TempDir dir("hostile"), io("hostile-io");
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::copy_file(KORIMO_SAMPLES_DIR "/small-reference.txt", dir.path() / "ref.txt");
    fs::copy_file(KORIMO_SAMPLES_DIR "/small-file1.txt", dir.path() / "f1.txt");
    fs::create_directory(dir.path() / "sub");
    if (attack.prepare)
      attack.prepare(dir.path());
    const auto before = Snapshot(dir.path());
    EXPECT_EQ(RunAttack(attack, dir.path(), io.path() / "err"), attack.status);
    EXPECT_NE(ReadAll(io.path() / "err").find(attack.cause), std::string::npos);
    EXPECT_TRUE(Snapshot(dir.path()) == before);
  }
}

}  // namespace
}  // namespace korimo::testing
