#include "cli/AtomicFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace korimo {

namespace {

namespace fs = std::filesystem;

WriteOutcome Failure(int error) {
  return {std::strerror(error)};
}

// Writes everything, across short writes and interrupted calls.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool IsDeviceOrPipe(const fs::file_status& status) {
  return fs::is_character_file(status) || fs::is_fifo(status) || fs::is_block_file(status) ||
         fs::is_socket(status);
}

WriteOutcome WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0)
    return Failure(errno);
  const bool ok = WriteAll(fd, bytes);
  const int error = errno;
  ::close(fd);
  return ok ? WriteOutcome{} : Failure(error);
}

// The mode the new file gets: that of the file it replaces, else what a new
// file gets under the current umask.
mode_t ModeFor(const fs::path& target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0)
    return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// The signals that end a process from the terminal wait while the
// temporary file exists, so that Ctrl-C never leaves it behind: they take
// effect once it is renamed or removed.
class InterruptsHeld {
 public:
  InterruptsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
      sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
  }
  ~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  sigset_t previous_{};
};

}  // namespace

WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);  // follows links
  if (!ec && IsDeviceOrPipe(status))
    return WriteInPlace(path, bytes);
  // A link is kept and its target replaced.
  fs::path target = path;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec)
      target = resolved;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const InterruptsHeld held;
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0)
    return Failure(errno);
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, ModeFor(target)) == 0 && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return Failure(error);
  }
  SyncFolder(folder);
  return {};
}

}  // namespace korimo
