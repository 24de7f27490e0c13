// The command line as a user meets it: each case runs the binary with an
// argument vector and checks the exit status, standard output, the first
// line of standard error and the files left in the test's folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/app_test_support.h"
#include "support/picture_test_files.h"
#include "support/process_runner.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using test::Outcome;

struct Case {
  std::vector<std::string> args;  // "{d}" stands for the test's folder
  int status;
  std::string out;       // standard output contains this ("" : anything)
  std::string errFirst;  // the first line of standard error contains this ("" : stderr is empty)
  std::vector<std::string> files = {};  // files made in the folder, besides the inputs
  test::ProcessOptions process = {};
};

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir / "scene.ini",
                    "[start]\nImageWidth=48\nImageHeight=40\n[sine]\nSteps=40\nGrainMultiplier=40\n"
                    "NumberOfFrames=3\n");
    fs::create_directories(dir / "frames");
    inputs = Listing();
  }

  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      names.insert(fs::relative(entry.path(), dir).string());
    return names;
  }

  std::string Expand(std::string text) const {
    for (size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, dir.string());
    return text;
  }

  void Check(const Case& c) {
    std::vector<std::string> args;
    std::string shown;
    for (const std::string& a : c.args) {
      args.push_back(Expand(a));
      shown += " " + a;
    }
    test::ProcessOptions process = c.process;
    if (!process.stdinFile.empty()) process.stdinFile = Expand(process.stdinFile);
    const Outcome outcome = test::RunProgram(args, dir, process);
    SCOPED_TRACE("quorl" + shown);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (!c.out.empty()) {
      EXPECT_NE(outcome.out.find(Expand(c.out)), std::string::npos) << outcome.out;
    }
    if (c.errFirst.empty()) {
      EXPECT_EQ(outcome.err, "");
    } else {
      EXPECT_NE(test::FirstLine(outcome.err).find(Expand(c.errFirst)), std::string::npos) << outcome.err;
    }
    // Usage errors and failures are one line each, never the whole help.
    if (c.status != 0) {
      EXPECT_LE(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 2) << outcome.err;
    }
    std::set<std::string> made;
    for (const std::string& name : Listing())
      if (!inputs.count(name)) made.insert(name);
    EXPECT_EQ(made, std::set<std::string>(c.files.begin(), c.files.end()));
    // The next case starts from the inputs alone.
    for (const std::string& name : made) fs::remove_all(dir / name);
  }

  // A file the cases read; not counted as made by them.
  void Input(const std::string& name, const std::string& bytes) {
    test::WriteFile(dir / name, bytes);
    inputs.insert(name);
  }

  void CheckAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) Check(c);
  }

  test::ScratchFolder scratch{"quorl-cli"};
  const fs::path dir = scratch.Path();
  std::set<std::string> inputs;
};

TEST_F(CommandLine, WordsAndHelp) {
  test::ProcessOptions noDisplay;
  noDisplay.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
  CheckAll({
      {{"--help"}, 0, "usage: quorl", ""},
      {{"-h"}, 0, "quorl COMMAND", ""},
      {{"help"}, 0, "commands:", ""},
      {{"help", "animate"}, 0, "usage: quorl animate", ""},
      {{"render", "--help"}, 0, "usage: quorl render", ""},
      {{"animate", "-h"}, 0, "--frames", ""},
      {{"-V"}, 0, "quorl ", ""},
      {{"--version"}, 0, "quorl ", ""},
      {{"rendr", "{d}/scene.ini", "-o", "{d}/y.png"},
       2,
       "",
       "quorl: unknown command 'rendr' (did you mean 'render'?)"},
      {{"help", "animat"}, 2, "", "unknown command 'animat' (did you mean 'animate'?)"},
      {{"frobnicate"}, 2, "", "quorl: unknown command or missing file 'frobnicate'; see 'quorl --help'"},
      {{"--frobnicate"}, 2, "", "quorl: unknown option '--frobnicate'"},
      {{"{d}"}, 2, "", "is a folder"},
      {{"{d}/scene.ini", "extra"}, 2, "", "more words follow"},
      // No display: the window says so instead of aborting.
      {{}, 1, "", "no display", {}, noDisplay},
      {{"{d}/scene.ini"}, 1, "", "no display", {}, noDisplay},
  });
}

TEST_F(CommandLine, OptionForms) {
  CheckAll({
      {{"render", "{d}/scene.ini", "--threads=2", "-o{d}/a.png"}, 0, "", "", {"a.png"}},
      {{"render", "--threads", "1", "--output={d}/a.png", "{d}/scene.ini"}, 0, "", "", {"a.png"}},
      {{"render", "-o", "{d}/-a.png", "--", "{d}/scene.ini"}, 0, "", "", {"-a.png"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--thread", "2"},
       2,
       "",
       "quorl render: unknown option '--thread' (did you mean '--threads'?)"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--frobnicate"},
       2,
       "",
       "unknown option '--frobnicate'; see 'quorl render --help'"},
      {{"render", "{d}/scene.ini", "{d}/scene.ini", "-o", "{d}/a.png"}, 2, "", "unexpected argument"},
      {{"render", "{d}/scene.ini", "-o"}, 2, "", "--output needs a value"},
      {{"render", "{d}/scene.ini"}, 2, "", "no output given"},
      {{"render", "-o", "{d}/a.png"}, 2, "", "no settings file given"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--threads", "0"},
       2,
       "",
       "--threads needs a whole number"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--seed=-3"}, 2, "", "--seed needs a whole number"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--style", "square"}, 2, "", "unknown style 'square'"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--set", "Steps"}, 2, "", "--set needs KEY=VALUE"},
      {{"render", "{d}/missing.ini", "-o", "{d}/a.png"}, 1, "", "missing.ini"},
      {{"animate", "{d}/scene.ini"}, 2, "", "no folder for the frames given"},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frames", "3-2"}, 2, "", "needs A <= B"},
  });
}

TEST_F(CommandLine, CompletionScripts) {
  CheckAll({
      {{"completion", "bash"}, 0, "complete -o filenames -F _quorl quorl", ""},
      {{"completion", "zsh"}, 0, "#compdef quorl", ""},
      {{"completion", "fish"}, 0, "complete -c quorl", ""},
      {{"completion", "tcsh"}, 2, "", "no completion for the shell 'tcsh'"},
      {{"completion"}, 2, "", "name the shell"},
  });
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

// A stand-in ffmpeg on PATH records its arguments, one per line, and makes
// the film it was asked for (or fails when FFMPEG_FAILS is set).
class Films : public CommandLine {
 protected:
  void SetUp() override {
    CommandLine::SetUp();
    fs::create_directories(tools.Path());
    const fs::path ffmpeg = tools / "ffmpeg";
    test::WriteFile(ffmpeg,
                    "#!/bin/sh\n"
                    "printf '%s\\n' \"$@\" > \"$FFMPEG_ARGS\"\n"
                    "[ -n \"$FFMPEG_FAILS\" ] && exit 3\n"
                    "for a in \"$@\"; do last=$a; done\n"
                    "printf film > \"${last#file:}\"\n");
    fs::permissions(ffmpeg, fs::perms::owner_all);
    withFfmpeg.env = {{"PATH", tools.Path().string() + ":/usr/bin:/bin"}, {"FFMPEG_ARGS", args.string()}};
    withFfmpeg.workDir = dir;
  }
  test::ScratchFolder tools{"quorl-cli-tools"};
  const fs::path args = tools / "arguments";
  test::ProcessOptions withFfmpeg;
};

TEST_F(Films, FfmpegGetsAnArgumentListNeverAShellLine) {
  const std::string hostile = "x'; touch PWNED; echo '.mp4";
  const std::vector<std::string> frames = {"frames/quorl_frame_0001.png", "frames/quorl_frame_0001.ini",
                                           "frames/quorl_frame_0002.png", "frames/quorl_frame_0002.ini",
                                           "frames/quorl_frame_0003.png", "frames/quorl_frame_0003.ini"};
  std::vector<std::string> made = frames;
  made.push_back(hostile);
  Check({{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frame-names", "--video", "{d}/" + hostile,
          "--fps", "12", "-q"},
         0,
         "{d}/frames/quorl_frame_0003.png",
         "",
         made,
         withFfmpeg});
  const std::string recorded = test::ReadFile(args);
  EXPECT_NE(recorded.find("\n-framerate\n12\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\n-pix_fmt\nyuv420p\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\npad=ceil(iw/2)*2:ceil(ih/2)*2\n"), std::string::npos) << recorded;
  // The name arrives whole, as one argument.
  EXPECT_NE(recorded.find("\nfile:" + dir.string() + "/." + hostile.substr(0, hostile.size() - 4) +
                          ".partial.mp4\n"),
            std::string::npos)
      << recorded;

  // A summer's end GIF, with odd-sized frames: no padding, a palette.
  std::vector<std::string> gif = frames;
  gif.push_back("summer's end.gif");
  Check({{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frame-names", "--video",
          "{d}/summer's end.gif"},
         0,
         "",
         "",
         gif,
         withFfmpeg});
  EXPECT_NE(test::ReadFile(args).find("paletteuse"), std::string::npos);
}

TEST_F(Films, FailuresAndBadRanges) {
  test::ProcessOptions failing = withFfmpeg;
  failing.env["FFMPEG_FAILS"] = "1";
  test::ProcessOptions noFfmpeg = withFfmpeg;
  noFfmpeg.env["PATH"] = (dir / "nowhere").string();
  CheckAll({
      // ffmpeg's failure is ours: exit 1, the frames kept, no half film.
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frame-names", "--frames", "3-3", "--video",
        "{d}/film.webm"},
       1,
       "",
       "quorl: ffmpeg could not make",
       {"frames/quorl_frame_0003.png", "frames/quorl_frame_0003.ini"},
       failing},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--video", "{d}/film.mp4"},
       1,
       "",
       "--video needs ffmpeg",
       {},
       noFfmpeg},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--video", "{d}/film.avi"},
       2,
       "",
       ".mp4, .webm or .gif"},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--video", "{d}/film.mp4", "--fps", "0"},
       2,
       "",
       "--fps needs a whole number"},
      // The series has 3 frames.
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frames", "2-5"},
       2,
       "",
       "--frames 2-5 is outside the series' frames 1-3"},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frames", "4-4"},
       2,
       "",
       "outside the series' frames 1-3"},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frame-names", "--frames", "2-3", "-q"},
       0,
       "quorl_frame_0002.png",
       "",
       {"frames/quorl_frame_0002.png", "frames/quorl_frame_0002.ini", "frames/quorl_frame_0003.png",
        "frames/quorl_frame_0003.ini"}},
  });
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

// The real ffmpeg, where it is installed: frames of odd size become films
// that players accept.
TEST_F(CommandLine, RealFfmpegMakesFilmsOfOddSizedFrames) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  test::WriteFile(dir / "odd.ini",
                  "[start]\nImageWidth=47\nImageHeight=39\n[sine]\nSteps=20\nNumberOfFrames=3\n");
  for (const std::string film : {"film.gif", "film.mp4"}) {
    const Outcome outcome =
        test::RunProgram({"animate", (dir / "odd.ini").string(), "--save", (dir / "frames").string(), "-q",
                          "--video", (dir / film).string()},
                         dir);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string bytes = test::ReadFile(dir / film);
    EXPECT_TRUE(bytes.rfind("GIF89a", 0) == 0 || bytes.find("ftyp") == 4) << film;
  }
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

TEST_F(CommandLine, PictureFormats) {
  CheckAll({
      {{"render", "{d}/scene.ini", "-o", "{d}/a.jpg", "--quality", "50", "--dpi", "300"},
       0,
       "",
       "",
       {"a.jpg"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.JPEG"}, 0, "", "", {"a.JPEG"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/deep.png", "--depth", "16", "--dpi=600"},
       0,
       "",
       "",
       {"deep.png"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/x.tiff"},
       2,
       "",
       "the picture formats are .png, .jpg and .jpeg"},
      {{"render", "{d}/scene.ini", "-o", "{d}/x"}, 2, "", "the picture formats are"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.jpg", "--depth", "16"}, 2, "", "--depth 16 needs a .png"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.jpg", "--transparent"}, 2, "", "--transparent needs a .png"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--quality", "80"}, 2, "", "--quality is for JPEG"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--depth", "12"}, 2, "", "--depth takes 8 or 16"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--dpi", "0"}, 2, "", "--dpi needs a whole number"},
      // Standard output and devices are written into, never replaced.
      {{"render", "{d}/scene.ini", "-o", "-"}, 0, "\x89PNG\r\n", ""},
      {{"render", "{d}/scene.ini", "-o", "/dev/null"}, 0, "", ""},
      {{"render", "{d}/scene.ini", "-o", "-", "--bench"}, 0, "PNG", "steps drawn: 40"},
  });
  // The picture's header says what was asked.
  const auto header = [&](const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"render", (dir / "scene.ini").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome outcome = test::RunProgram(args, dir);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return outcome.out;
  };
  const std::string deep = header({"-o", "-", "--depth", "16"});
  ASSERT_GT(deep.size(), 26u);
  EXPECT_EQ(deep[24], 16);  // IHDR bit depth
  EXPECT_EQ(header({"-o", "-", "--depth", "8"}), header({"-o", "-"}));
}

TEST_F(CommandLine, PipesAreWrittenInto) {
  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  inputs.insert("pipe");
  std::string received;
  std::thread reader([&] { received = test::ReadFile(fifo); });
  Check({{"render", "{d}/scene.ini", "-o", "{d}/pipe"}, 0, "", ""});
  reader.join();
  EXPECT_EQ(received.substr(1, 3), "PNG");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(CommandLine, SettingsInAnyEncodingAndNothingElse) {
  const std::string plain = "[start]\nImageWidth=30\nImageHeight=20\n[sine]\nSteps=25\n";
  std::string crOnly = plain, utf16 = "\xFF\xFE";
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  for (char c : plain) utf16 += std::string(1, c) + '\0';
  Input("plain.ini", plain);
  Input("bom.ini", "\xEF\xBB\xBF" + plain);
  Input("cr.ini", crOnly);
  Input("utf16.ini", utf16);
  Input("photo.ini", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 11));
  Input("binary.ini", std::string("[sine]\nSteps=3\n\0\x01\x02", 18));
  Input("letter.ini", "Dear Quorl,\nplease draw.\n");
  Input("empty.ini", "");
  Input("function.ini", "[sine]\nFunctionNumber=2147483647\nSteps=5\n");
  CheckAll({
      {{"render", "{d}/bom.ini", "-o", "{d}/bom.png"}, 0, "", "", {"bom.png"}},
      {{"render", "{d}/photo.ini", "-o", "{d}/x.png"},
       1,
       "",
       "quorl: '{d}/photo.ini' is not a Quorl settings file: it is a JPEG picture"},
      {{"render", "{d}/binary.ini", "-o", "{d}/x.png"},
       1,
       "",
       "is not a Quorl settings file: it holds binary data"},
      {{"render", "{d}/letter.ini", "-o", "{d}/x.png"},
       1,
       "",
       "neither a [section] line nor a key=value line"},
      {{"render", "{d}/empty.ini", "-o", "{d}/x.png", "--set", "Steps=2"}, 0, "", "", {"x.png"}},
      {{"render", "{d}/function.ini", "-o", "{d}/x.png"}, 0, "", "", {"x.png"}},
      {{"render", "{d}/plain.ini", "-o", "{d}/x.png", "--set", "FunctionNumber=9"},
       2,
       "",
       "FunctionNumber must be 0 to 7"},
      {{"render", "{d}/frames", "-o", "{d}/x.png"}, 1, "", "is a folder, not a settings file"},
  });
  // Every encoding of the file draws the same picture; so does "-" reading
  // it from standard input.
  const auto picture = [&](const std::string& settings, const std::string& stdinFile = "") {
    test::ProcessOptions process;
    process.stdinFile = stdinFile;
    const Outcome outcome = test::RunProgram({"render", settings, "-o", "-"}, dir, process);
    EXPECT_EQ(outcome.status, 0) << settings << ": " << outcome.err;
    return outcome.out;
  };
  const std::string expected = picture((dir / "plain.ini").string());
  ASSERT_EQ(expected.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(expected[19]), 30);  // ImageWidth was read
  for (const char* name : {"bom.ini", "cr.ini", "utf16.ini"})
    EXPECT_EQ(picture((dir / name).string()), expected) << name;
  EXPECT_EQ(picture("-", (dir / "utf16.ini").string()), expected);
}

TEST_F(CommandLine, PicturesGoByContent) {
  const testing::Bytes jpeg = testing::EncodeJpeg(testing::PatternRgb(6, 4), 6, 4);
  Input("photo.png", std::string(jpeg.begin(), jpeg.end()));
  Input("anim.png", "GIF89a\x01\x00\x01\x00");
  // 6001 x 1 pixels: too wide for "Resize canvas?".
  const testing::Bytes wide = testing::MakeBmp(6001, 1, 24, {}, testing::Bytes(18004, 0x80));
  Input("wide.bmp", std::string(wide.begin(), wide.end()));
  Input("background.ini",
        "[start]\nImageWidth=40\nImageHeight=30\nUseBackgroundImage=1\nBackgroundImageResizeCanvas=1\n"
        "[sine]\nSteps=5\n");
  CheckAll({
      {{"render", "{d}/scene.ini", "-o", "{d}/x.png", "--source-image", "{d}/photo.png"},
       0,
       "",
       "",
       {"x.png"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/x.png", "--source-image", "{d}/frames"},
       1,
       "",
       "it is a folder, not a picture"},
      {{"render", "{d}/scene.ini", "-o", "{d}/x.png", "--background-image", "{d}/anim.png"},
       1,
       "",
       "quorl: cannot load the background picture '{d}/anim.png': it is a GIF picture, not a PNG, JPEG or "
       "BMP picture"},
      {{"render", "{d}/background.ini", "-o", "{d}/x.png", "--background-image", "{d}/wide.bmp"},
       0,
       "",
       "quorl: warning: the background picture is 6001 x 1 pixels",
       {"x.png"}},
  });
}

TEST_F(CommandLine, ProgressAndFigures) {
  Input("long.ini", "[start]\nImageWidth=16\nImageHeight=16\n[sine]\nSteps=400\nGrainMultiplier=5\n");
  test::ProcessOptions oneCpu;
  oneCpu.prefix = {"taskset", "-c", "0"};
  CheckAll({
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--progress=line"},
       0,
       "",
       "quorl: 5% (step 20 of 400)",
       {"x.png"}},
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--progress", "line", "-q"}, 0, "", "", {"x.png"}},
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--progress", "dots"},
       2,
       "",
       "--progress takes bar, line or none"},
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--json"}, 2, "", "--json goes with --bench"},
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--bench", "--json"},
       0,
       "\"steps\": 400, ",
       "",
       {"x.png"}},
      // Threads follow the CPUs the process may use.
      {{"render", "{d}/long.ini", "-o", "{d}/x.png", "--bench"}, 0, "threads: 1\n", "", {"x.png"}, oneCpu},
  });
  // One line per 5 %: twenty of them.
  const Outcome lines =
      test::RunProgram({"render", (dir / "long.ini").string(), "-o", "/dev/null", "--progress=line"}, dir);
  EXPECT_EQ(std::count(lines.err.begin(), lines.err.end(), '\n'), 20) << lines.err;
  const Outcome json =
      test::RunProgram({"render", (dir / "long.ini").string(), "-o", "/dev/null", "--bench", "--json"}, dir);
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1);
  EXPECT_EQ(json.out.front(), '{');
  for (const char* key :
       {"\"points\": ", "\"sub_samples\": ", "\"seconds\": ", "\"threads\": ", "\"cpus_usable\": "})
    EXPECT_NE(json.out.find(key), std::string::npos) << key;
}

}  // namespace
}  // namespace quorl
