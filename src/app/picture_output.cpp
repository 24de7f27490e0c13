#include "app/picture_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/atomic_file.h"

namespace quorl {

OutputFormat OutputFormatOf(const std::string& path) {
  if (path == "-") return OutputFormat::Png;
  // A pipe or a device (/dev/stdout) has no extension to go by.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)))
    return OutputFormat::Png;
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return OutputFormat::Unknown;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == "png") return OutputFormat::Png;
  if (extension == "jpg" || extension == "jpeg") return OutputFormat::Jpeg;
  return OutputFormat::Unknown;
}

bool WriteOutput(const std::string& path, std::string_view bytes, std::FILE* standardOutput,
                 std::string& error) {
  if (path == "-") {
    if (std::fwrite(bytes.data(), 1, bytes.size(), standardOutput) != bytes.size() ||
        std::fflush(standardOutput) != 0) {
      error = std::string("cannot write to standard output: ") + std::strerror(errno);
      return false;
    }
    return true;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) {
      error = "it is a folder";
      return false;
    }
    // A pipe or a device: replacing it with a file would surprise anyone.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
      error = std::strerror(errno);
      return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
      }
      done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
      error = std::strerror(errno);
      return false;
    }
    return true;
  }
  return WriteFileAtomically(path, bytes, &error);
}

}  // namespace quorl
