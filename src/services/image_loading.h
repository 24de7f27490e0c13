// Filling the source and background stores: loading a picture file into
// either, taking the current canvas as the background, and fitting the
// canvas size to the background picture. Messages go to the host's status
// line and message boxes, so the window and the tests see the same texts.
#pragma once

#include <string>

#include "base/host.h"
#include "engine/program_state.h"
#include "settings/field_ranges.h"

namespace quorl {

inline constexpr const char* kCanvasSizeMessage =
    "Sorry, the canvas must be between 1 and 6000 pixels on all sides.";

inline constexpr const char* kLoadedSourceMessage = "Loaded source image ";
inline constexpr const char* kUnableSourceMessage = "Unable to load source image ";
inline constexpr const char* kLoadedBackgroundMessage = "Loaded Background image ";
inline constexpr const char* kUnableBackgroundMessage = "Unable to load background image ";
inline constexpr const char* kProblemMessage = "There was a problem: ";
inline constexpr const char* kCanvasAsBackgroundMessage = "Set canvas as working background.";
inline constexpr const char* kAppliedBackgroundMessage = "Applied background image settings";

// "file: ", a line break, the name and "  does not exist".
std::string MissingFileMessage(const std::string& fileName);

// Loads `fileName` as the source image; `type` is its extension without the
// dot, in any letter case (png, jpg, jpeg, bmp). On success the store holds
// the picture, UseSourceImage is set, SourceImageFileName is the name and
// the status line says "Loaded source image <name>". On any failure (a
// missing file, an unsupported type, a damaged file, too little memory)
// neither the store nor the parameters change; the status line says
// "Unable to load source image <name>" and a box gives the reason.
bool LoadSourceImage(ProgramState& state, const std::string& fileName, const std::string& type, Host& host);

// The same for the background store and BackgroundImageFileName. It does
// not touch UseBackgroundImage.
bool LoadBackgroundImage(ProgramState& state, const std::string& fileName, const std::string& type,
                         Host& host);

// The canvas picture as shown becomes the background picture. It neither
// sets UseBackgroundImage nor clears the canvas.
bool UseCurrentCanvasAsBackground(ProgramState& state, Host& host);

// The first step of the Background Image window's Apply: with "Resize
// canvas?" checked and a picture loaded, ImageWidth and ImageHeight become
// the picture's size when that is 1 to 6000 on both sides; a larger picture
// gets kCanvasSizeMessage and the size is kept. True when the size was set.
bool FitImageSizeToBackground(ParameterSet& params, const BackgroundStore& background, Host& host);

}  // namespace quorl
