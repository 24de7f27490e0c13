#include "app/verify_command.h"

#include <unistd.h>

#include <filesystem>

#include "app/render_command.h"
#include "app/shared_options.h"
#include "base/atomic_file.h"
#include "base/temp_files.h"
#include "canvas/pixel_digest.h"
#include "canvas/png_recipe.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  return text;
}

// The last non-empty line of a command's messages.
std::string LastLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  const size_t newline = text.rfind('\n');
  text = newline == std::string::npos ? text : text.substr(newline + 1);
  if (text.rfind("quorl: ", 0) == 0) text = text.substr(7);
  return text;
}

// "same", "differs: ...", "not reproducible (...)" or "cannot verify: ...".
std::string Verdict(const std::string& picture, const VerifyOptions& options) {
  std::string bytes, error;
  if (!ReadWholeFile(picture, bytes, &error)) return "cannot verify: " + error;
  Recipe recipe;
  if (!ReadPngRecipe(bytes, recipe, error)) return "cannot verify: " + error;
  ParameterSet stored;
  IniFile ini;
  ini.LoadText(recipe.settings);
  WindowLayout ignored;  // a recipe holds no layout
  ReadIniText(stored, ignored, ini.Get(kStartSection, "style", "sine"), recipe.settings);
  if (stored.DrawsSinceClear > 1 || stored.EditsDuringDraws > 0) {
    std::string why =
        std::to_string(stored.DrawsSinceClear) + (stored.DrawsSinceClear == 1 ? " run" : " runs");
    if (stored.EditsDuringDraws > 0) why += ", edited or stopped while drawing";
    return "not reproducible (" + why + ")";
  }
  DecodedPixels shown;
  if (!DecodePngPixels(bytes, shown, error)) return "cannot verify: " + error;

  if (options.quick) {
    if (stored.PixelsSha256.empty()) return "cannot verify: the recipe holds no SHA-256 of its pixels";
    return PixelDigest(shown) == stored.PixelsSha256
               ? "same"
               : "differs: the pixels do not match the recipe's SHA-256";
  }

  // Draw it again into a temporary file of our own.
  std::string temp;
  const int fd = CreateTempFileFor((fs::temp_directory_path() / "quorl-verify.png").string(), temp, &error);
  if (fd < 0) return "cannot verify: " + error;
  ::close(fd);
  RenderOptions render;
  render.settingsPath = picture;
  render.outputPath = temp;
  render.threads = options.threads;
  render.noRecipe = true;
  std::FILE* quietOut = std::tmpfile();
  std::FILE* messages = std::tmpfile();
  int status = 1;
  if (quietOut && messages) {
    CommandIo io;
    io.out = quietOut;
    io.err = messages;
    status = RunRender(render, io);
  }
  const std::string said = messages ? ReadAll(messages) : "";
  if (quietOut) std::fclose(quietOut);
  if (messages) std::fclose(messages);
  std::string again;
  const bool drawn = status == 0 && ReadWholeFile(temp, again, &error);
  RemoveTempFile(temp);
  if (!drawn) return "cannot verify: " + (status != 0 ? LastLine(said) : error);
  DecodedPixels redrawn;
  if (!DecodePngPixels(again, redrawn, error)) return "cannot verify: " + error;
  const PixelDifference d = ComparePixels(shown, redrawn);
  if (d.pixels == 0) return "same";
  return "differs: " + std::to_string(d.pixels) + " pixels, max channel difference " +
         std::to_string(d.maxChannel);
}

}  // namespace

int RunVerify(const VerifyOptions& options, CommandIo& io) {
  bool allSame = true;
  for (const std::string& picture : options.pictures) {
    const std::string verdict = Verdict(picture, options);
    if (verdict != "same") allSame = false;
    std::fprintf(io.out, "%s: %s\n", picture.c_str(), verdict.c_str());
    std::fflush(io.out);
  }
  return allSame ? kExitDone : kExitFailed;
}

namespace {

class VerifyCommand : public Command {
 public:
  std::string Name() const override { return "verify"; }
  std::string Summary() const override { return "check that pictures come back from their recipes"; }
  std::string Usage() const override { return "PICTURE... [options]"; }
  std::string Description() const override {
    return "Draws each picture again from the recipe inside it and compares the pixels. Prints one line per "
           "picture: 'same', 'differs: N pixels, max channel difference D', or 'not reproducible (N runs)' "
           "for a canvas of several Draws or one edited or stopped while drawing. Exit 0 only when every "
           "picture is the same.";
  }
  void Register(OptionTable& table) override {
    table.Positionals("PICTURE", options_.pictures, "pictures saved by Quorl");
    table.Flag("--quick", options_.quick, "check the pixels against the recipe's SHA-256 without drawing");
    table.Value("--threads", threads_, "N", "threads to draw with (default: every CPU this process may use)",
                ValueKind::Number);
  }
  bool Check(std::string& error) override {
    if (!threads_.empty()) {
      long long number = 0;
      if (!WholeNumberOption("--threads", threads_, 1, 1024, number, error)) return false;
      options_.threads = static_cast<int>(number);
    }
    if (options_.pictures.empty()) {
      error = "no picture given";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunVerify(options_, io); }

 private:
  VerifyOptions options_;
  std::string threads_;
};

}  // namespace

std::unique_ptr<Command> MakeVerifyCommand() {
  return std::make_unique<VerifyCommand>();
}

}  // namespace quorl
