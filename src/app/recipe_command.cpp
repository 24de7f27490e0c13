#include "app/recipe_command.h"

#include <filesystem>

#include "base/atomic_file.h"
#include "base/saved_set.h"
#include "canvas/png_recipe.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

// Curve names become file names: nothing that could leave the folder.
bool SafeCurveName(const std::string& name) {
  return !name.empty() && name.size() < 200 && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos && name != "." && name != "..";
}

}  // namespace

int RunRecipe(const RecipeOptions& options, CommandIo& io) {
  std::FILE* const out = io.out;
  std::FILE* const err = io.err;
  std::string bytes, error;
  Recipe recipe;
  if (!ReadWholeFile(options.picture, bytes, &error) || !ReadPngRecipe(bytes, recipe, error)) {
    std::fprintf(err, "quorl: cannot read the recipe of '%s': %s\n", options.picture.c_str(), error.c_str());
    return 1;
  }
  if (options.extractDir.empty()) {
    std::fputs(recipe.settings.c_str(), out);
    return 0;
  }

  // The set: the picture's curve files, the copies of its source and
  // background pictures that stand beside it, and the settings last.
  const fs::path picture(options.picture);
  const std::string name = picture.stem().string();
  std::vector<SetFile> files;
  for (const auto& [curve, text] : recipe.curves) {
    if (!SafeCurveName(curve)) {
      std::fprintf(err, "quorl: '%s' names a curve file that is not allowed: \"%s\"\n",
                   options.picture.c_str(), curve.c_str());
      return 1;
    }
    files.push_back({"_" + curve + ".curve", text});
  }
  for (const char* copy : {"_source.png", "_background.png"}) {
    const fs::path beside = picture.parent_path() / (name + copy);
    std::string copied;
    std::error_code ec;
    if (fs::is_regular_file(beside, ec) && ReadWholeFile(beside.string(), copied))
      files.push_back({copy, copied});
  }
  files.push_back({".ini", recipe.settings});
  std::error_code ec;
  fs::create_directories(options.extractDir, ec);
  SetNaming naming;
  naming.candidate = [&name](int) { return name; };
  naming.existing = ExistingSet::Refuse;
  const SetWriteResult written = WriteFileSet(options.extractDir, naming, files);
  if (!written.ok()) {
    std::fprintf(err, "quorl: cannot extract into '%s': %s\n", options.extractDir.c_str(),
                 written.error.c_str());
    return 1;
  }
  std::fprintf(out, "%s.ini\n", written.base.c_str());
  return 0;
}

namespace {

class RecipeCommand : public Command {
 public:
  std::string Name() const override { return "recipe"; }
  std::string Summary() const override { return "print the settings inside a picture, or extract its set"; }
  std::string Usage() const override { return "PICTURE [--extract DIR]"; }
  std::string Description() const override {
    return "Prints the settings a picture saved by Quorl carries inside. With --extract, writes them and "
           "the picture's curve files into DIR as a set that 'quorl render' draws to the same pixels.";
  }
  void Register(OptionTable& table) override {
    table.Positional("PICTURE", options_.picture, "a picture saved by Quorl");
    table.Value("--extract", options_.extractDir, "DIR",
                "write the settings and curve files into DIR (made when missing) instead of printing",
                ValueKind::Folder);
  }
  bool Check(std::string& error) override {
    if (options_.picture.empty()) {
      error = "no picture given";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunRecipe(options_, io); }

 private:
  RecipeOptions options_;
};

}  // namespace

std::unique_ptr<Command> MakeRecipeCommand() {
  return std::make_unique<RecipeCommand>();
}

}  // namespace quorl
