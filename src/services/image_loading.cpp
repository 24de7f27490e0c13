#include "services/image_loading.h"

#include <exception>
#include <filesystem>

#include "base/paths.h"
#include "canvas/picture_files.h"

namespace quorl {

namespace {

// Reads the file into a new picture; the caller's store is untouched until
// the picture is complete. False with the reason otherwise; a missing file
// also gives its own message for the user.
bool ReadPicture(const std::string& fileName, const std::string& type, Picture24& picture,
                 std::string& reason, std::string& missing) {
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) {
    reason = "it is a folder, not a picture";
    return false;
  }
  if (!FileExists(fileName)) {
    missing = MissingFileMessage(fileName);
    reason = "the file does not exist";
    return false;
  }
  // The file's content says what it is, whatever its name says.
  (void)type;
  return DecodePictureFile(fileName, picture, reason);
}

template <typename Store>
bool LoadInto(Store& store, const std::string& fileName, const std::string& type, Host& host,
              const char* unableMessage) {
  Picture24 picture;
  std::string reason, missing;
  bool ok = ReadPicture(fileName, type, picture, reason, missing);
  if (!missing.empty()) host.ShowMessage(missing);
  if (ok) {
    try {
      store.SetPicture(picture);
    } catch (const std::exception& e) {
      reason = e.what();
      ok = false;
    }
  }
  if (!ok) {
    host.ShowStatus(unableMessage + fileName);
    host.ShowMessage(kProblemMessage + reason);
  }
  return ok;
}

}  // namespace

std::string MissingFileMessage(const std::string& fileName) {
  return "file: \n" + fileName + "  does not exist";
}

bool LoadSourceImage(ProgramState& state, const std::string& fileName, const std::string& type, Host& host) {
  if (!LoadInto(state.source, fileName, type, host, kUnableSourceMessage)) return false;
  state.params.UseSourceImage = true;
  host.ShowStatus(kLoadedSourceMessage + fileName);
  state.params.SourceImageFileName = fileName;
  return true;
}

bool LoadBackgroundImage(ProgramState& state, const std::string& fileName, const std::string& type,
                         Host& host) {
  if (!LoadInto(state.background, fileName, type, host, kUnableBackgroundMessage)) return false;
  host.ShowStatus(kLoadedBackgroundMessage + fileName);
  state.params.BackgroundImageFileName = fileName;
  return true;
}

bool UseCurrentCanvasAsBackground(ProgramState& state, Host& host) {
  // The bitmap as shown: after a settings read ImageWidth and ImageHeight
  // may already name the next size, which the canvas takes only at Clear.
  const Picture24& canvas = state.canvas.Bitmap();
  if (canvas.Empty()) {
    host.ShowMessage("UseCurrentAsBackground: the canvas has no pixels");
    return false;
  }
  try {
    state.background.SetPicture(canvas);
  } catch (const std::exception& e) {
    host.ShowMessage(std::string("UseCurrentAsBackground: ") + e.what());
    return false;
  }
  host.ShowStatus(kCanvasAsBackgroundMessage);
  return true;
}

bool FitImageSizeToBackground(ParameterSet& params, const BackgroundStore& background, Host& host) {
  if (!params.BackgroundImageResizeCanvas || background.BackgroundWidth <= 0) return false;
  if (background.BackgroundHeight > 0 && background.BackgroundWidth <= kMaxCanvasSide &&
      background.BackgroundHeight <= kMaxCanvasSide) {
    params.ImageWidth = background.BackgroundWidth;
    params.ImageHeight = background.BackgroundHeight;
    return true;
  }
  host.ShowMessage(kCanvasSizeMessage);
  return false;
}

}  // namespace quorl
