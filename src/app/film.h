// Assembling frames into a film with ffmpeg. ffmpeg is started from an
// argument vector (posix_spawnp), never through a shell, so a film's name is
// only ever a name.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quorl {

enum class FilmKind { Mp4, Webm, Gif, Unknown };

// By the name's extension, in any letter case.
FilmKind FilmKindOf(const std::string& name);

// ffmpeg's arguments (without "ffmpeg" itself) for the numbered frames
// `inputPattern` ("DIR/f%06d.png") at `fps` into `output`: yuv420p, which
// every browser and player shows, with odd sizes padded to even for H.264
// and VP9; a palette of its own for a GIF.
std::vector<std::string> FfmpegArguments(const std::string& inputPattern, const std::string& output, int fps,
                                         FilmKind kind);

// True when PATH holds an ffmpeg to run.
bool FfmpegInstalled();

// Makes `video` from the frames, in that order. The film is written beside
// its final name and renamed when ffmpeg succeeds, so a failed run leaves no
// half film. Returns 0, or 1 after one line on `err`.
int MakeFilm(const std::vector<std::string>& frames, const std::string& video, int fps, std::FILE* err);

}  // namespace quorl
