#include "app/film.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace quorl {
namespace {

namespace fs = std::filesystem;

std::string LowerExtension(const std::string& name) {
  std::string extension = fs::path(name).extension().string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

// Runs ffmpeg with `args`; returns its exit status, or -1 with errno's
// reason when it could not be started.
int RunFfmpeg(const std::vector<std::string>& args, int& spawnError) {
  std::vector<std::string> words = args;
  words.insert(words.begin(), "ffmpeg");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  spawnError = posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ);
  if (spawnError != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

bool FfmpegInstalled() {
  const char* path = std::getenv("PATH");
  std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > start ? folders.substr(start, end - start) : ".";
    const std::string candidate = folder + "/ffmpeg";
    if (::access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) return true;
    start = end + 1;
  }
  return false;
}

FilmKind FilmKindOf(const std::string& name) {
  const std::string extension = LowerExtension(name);
  if (extension == ".mp4") return FilmKind::Mp4;
  if (extension == ".webm") return FilmKind::Webm;
  if (extension == ".gif") return FilmKind::Gif;
  return FilmKind::Unknown;
}

std::vector<std::string> FfmpegArguments(const std::string& inputPattern, const std::string& output, int fps,
                                         FilmKind kind) {
  const std::string rate = std::to_string(fps);
  std::vector<std::string> args = {"-nostdin",   "-loglevel", "error", "-y",
                                   "-framerate", rate,        "-i",    inputPattern};
  const std::string evenSize = "pad=ceil(iw/2)*2:ceil(ih/2)*2";
  switch (kind) {
    case FilmKind::Mp4:
      args.insert(args.end(),
                  {"-vf", evenSize, "-c:v", "libx264", "-pix_fmt", "yuv420p", "-movflags", "+faststart"});
      break;
    case FilmKind::Webm:
      args.insert(args.end(),
                  {"-vf", evenSize, "-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-b:v", "0", "-crf", "32"});
      break;
    case FilmKind::Gif:
    case FilmKind::Unknown:
      args.insert(args.end(), {"-vf", "split[a][b];[a]palettegen[p];[b][p]paletteuse"});
      break;
  }
  // "file:" keeps a name that starts with '-' or holds a ':' a plain file.
  args.insert(args.end(), {"-r", rate, "file:" + output});
  return args;
}

int MakeFilm(const std::vector<std::string>& frames, const std::string& video, int fps, std::FILE* err) {
  if (frames.empty()) {
    std::fprintf(err, "quorl: no frames were made, so there is no film\n");
    return 1;
  }
  std::string folder = (fs::temp_directory_path() / "quorl-film-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::fprintf(err, "quorl: cannot make a temporary folder for the film: %s\n", std::strerror(errno));
    return 1;
  }
  std::error_code ec;
  for (size_t i = 0; i < frames.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/f%06zu.png", i);
    fs::create_symlink(fs::absolute(frames[i]), folder + name, ec);
  }
  // Beside the final name, with its extension (ffmpeg picks the format by it).
  const fs::path target(video);
  const fs::path partial =
      target.parent_path() / ("." + target.stem().string() + ".partial" + target.extension().string());
  int spawnError = 0;
  const int status =
      RunFfmpeg(FfmpegArguments(folder + "/f%06d.png", partial.string(), fps, FilmKindOf(video)), spawnError);
  fs::remove_all(folder, ec);
  if (status == -1) {
    if (spawnError == ENOENT) {
      std::fprintf(err,
                   "quorl: --video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg); "
                   "the frames are saved\n");
    } else {
      std::fprintf(err, "quorl: cannot start ffmpeg: %s; the frames are saved\n", std::strerror(spawnError));
    }
    fs::remove(partial, ec);
    return 1;
  }
  if (status != 0) {
    std::fprintf(err, "quorl: ffmpeg could not make '%s' (exit status %d); the frames are saved\n",
                 video.c_str(), status);
    fs::remove(partial, ec);
    return 1;
  }
  fs::rename(partial, target, ec);
  if (ec) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", video.c_str(), ec.message().c_str());
    fs::remove(partial, ec);
    return 1;
  }
  return 0;
}

}  // namespace quorl
