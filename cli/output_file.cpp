#include "cli/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace varnest::cli {

namespace {

std::string Folder(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? "." : parent.string();
}

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw OutputError("cannot write " + path + ": " + what);
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void CheckOutputFolder(const std::string& path) {
  if (path == "-") return;
  std::error_code error;
  if (!std::filesystem::is_directory(Folder(path), error)) Fail(path, "no folder " + Folder(path));
}

void WriteFileAtomically(const std::string& path, const std::string& text) {
  if (path == "-") {
    if (!WriteAll(STDOUT_FILENO, text)) Fail("standard output", std::strerror(errno));
    return;
  }
  // Only a regular file is replaced by renaming. Anything else that exists
  // (/dev/null, a terminal, a pipe) is written in place: renaming over it
  // would put a plain file where the device was.
  std::error_code error;
  std::filesystem::path target(path);
  if (std::filesystem::is_symlink(target, error)) {
    const std::filesystem::path real = std::filesystem::weakly_canonical(target, error);
    if (!error) target = real;  // keep the link, replace what it points to
  }
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    if (std::filesystem::is_directory(status)) Fail(path, "it is a folder");
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) Fail(path, std::strerror(errno));
    const bool written = WriteAll(fd, text);
    const int writeError = errno;
    ::close(fd);
    if (!written) Fail(path, std::strerror(writeError));
    return;
  }

  // A hidden name beside the target, so that rename stays within one folder.
  std::string hidden = ".";
  hidden += target.filename().string();
  hidden += ".XXXXXX";
  const std::string pattern = (std::filesystem::path(Folder(target.string())) / hidden).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) Fail(path, std::strerror(errno));
  const std::string temporary(name.data());
  // mkstemp makes the file private; give it the permissions a plain new file
  // would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, static_cast<mode_t>(0666 & ~mask));
  const bool written = WriteAll(fd, text);
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    ::unlink(temporary.c_str());
    Fail(path, std::strerror(written ? errno : writeError));
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(temporary.c_str());
    Fail(path, std::strerror(renameError));
  }
}

}  // namespace varnest::cli
