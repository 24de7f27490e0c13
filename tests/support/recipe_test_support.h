// Checks shared by the tests of recipes and saved sets.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/ini_file.h"
#include "settings/settings_table.h"

namespace quorl::test {

// Every key the recipe holds has the same value in the settings file; and
// the recipe holds no key of the window's layout or the author's folders.
inline ::testing::AssertionResult RecipeAgreesWithSettings(const std::string& recipeText,
                                                           const std::string& settingsText) {
  IniFile recipe, settings;
  recipe.LoadText(recipeText);
  settings.LoadText(settingsText);
  const std::string style = recipe.Get(kStartSection, "style", "sine");
  if (settings.Get(kStartSection, "style", "sine") != style)
    return ::testing::AssertionFailure() << "the styles differ";
  int compared = 0;
  for (const KeyDescriptor& row : SettingsTable()) {
    const char* section = row.section == KeySection::Start   ? kStartSection
                          : row.section == KeySection::Forms ? kFormsSection
                                                             : style.c_str();
    const auto inRecipe = recipe.Find(section, row.key);
    if (!inRecipe) continue;
    if (row.section == KeySection::Forms)
      return ::testing::AssertionFailure() << "the recipe holds " << row.key;
    const std::string key = row.key;
    if (key == "SaveDir" || key == "LoadDir" || key == "LoadSourceImageDir")
      return ::testing::AssertionFailure() << "the recipe holds the folder " << key;
    const auto inSettings = settings.Find(section, row.key);
    if (!inSettings || *inSettings != *inRecipe)
      return ::testing::AssertionFailure() << row.key << ": recipe '" << *inRecipe << "', settings '"
                                           << inSettings.value_or("(missing)") << "'";
    ++compared;
  }
  if (compared < 200) return ::testing::AssertionFailure() << "only " << compared << " keys in the recipe";
  return ::testing::AssertionSuccess();
}

}  // namespace quorl::test
