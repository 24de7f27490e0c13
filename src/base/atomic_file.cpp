#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/temp_files.h"

namespace quorl {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temp;
  const int fd = CreateTempFileFor(path, temp, error);
  if (fd < 0) return false;
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      RemoveTempFile(temp);
      SetError(error, path + ": " + std::strerror(saved));
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // mkstemp makes the file 0600; a settings file or picture is the user's
  // ordinary file, so give it the usual permissions under the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    RemoveTempFile(temp);
    SetError(error, path + ": " + std::strerror(saved));
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    RemoveTempFile(temp);
    SetError(error, path + ": " + std::strerror(saved));
    return false;
  }
  ForgetTempFile(temp);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, path + ": " + std::strerror(errno));
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    SetError(error, path + ": read error");
    return false;
  }
  bytes = buffer.str();
  return true;
}

}  // namespace quorl
