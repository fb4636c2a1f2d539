#include "cli/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "export/AtomicFile.h"

namespace korimo {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool IsDeviceOrPipe(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);  // follows symlinks
  if (ec)
    return false;
  return std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status) ||
         std::filesystem::is_block_file(status) || std::filesystem::is_socket(status);
}

WriteOutcome Failure(const std::string& what) {
  return {what + ": " + std::strerror(errno)};
}

WriteOutcome WriteInPlace(const std::string& path, std::string_view bytes) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file)
    return Failure("cannot open");
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    return Failure("cannot write");
  }
  if (std::fclose(file.release()) != 0)
    return Failure("cannot close");
  return {};
}

}  // namespace

WriteOutcome WriteOutputFile(const std::string& path, std::string_view bytes) {
  if (IsDeviceOrPipe(path))
    return WriteInPlace(path, bytes);
  return WriteFileAtomically(path, bytes);
}

}  // namespace korimo
