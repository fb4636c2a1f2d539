#include "app/OutputGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace korimo {

namespace {

namespace fs = std::filesystem;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The folder the replacement is created in: that of the link's target.
std::string FolderOf(const std::string& output) {
  std::error_code ec;
  fs::path target = output;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec)
      target = resolved;
  }
  return target.has_parent_path() ? target.parent_path().string() : std::string(".");
}

// Names the folder when it cannot take the temporary file the new content
// goes to first; a folder that does not exist is left to the write to report.
std::string FolderRefusal(const std::string& output) {
  const std::string folder = FolderOf(output);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
      ::access(folder.c_str(), W_OK | X_OK) == 0)
    return {};
  const int error = errno;
  return "cannot create a file in the folder " + folder + ": " + std::strerror(error);
}

}  // namespace

std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs) {
  struct stat out {};
  if (::stat(output.c_str(), &out) != 0)
    return errno == ENOENT ? FolderRefusal(output) : std::string();
  if (S_ISDIR(out.st_mode))
    return output + ": is a directory";
  for (const std::string& input : inputs) {
    struct stat in {};
    if (!input.empty() && ::stat(input.c_str(), &in) == 0 && SameFile(in, out))
      return "refusing to overwrite an input file: " + output;
  }
  // Devices and pipes are written in place, not replaced.
  if (!S_ISREG(out.st_mode))
    return {};
  if (::access(output.c_str(), W_OK) != 0 || (out.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return output + ": read-only";
  return FolderRefusal(output);
}

}  // namespace korimo
