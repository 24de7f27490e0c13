// The key table of settings_keys.def as data: one descriptor per row, in the
// order the writer writes them. The reader, the writer, the windows' bindings
// and the tests loop over this array instead of naming keys.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"

namespace quorl {

enum class KeySection { Start, Style, Forms };
enum class KeyType { Int, Bool, Float, String, IntAsFloat, BoolAgain, Unread };

inline constexpr unsigned kStyleName = 1u << 0;
inline constexpr unsigned kPictureFolderDefault = 1u << 1;
inline constexpr unsigned kNotReadSetDefault = 1u << 2;
inline constexpr unsigned kNotRead = 1u << 3;
inline constexpr unsigned kMaximized = 1u << 4;
inline constexpr unsigned kWindowHeight = 1u << 5;
inline constexpr unsigned kWindowLeft = 1u << 6;
inline constexpr unsigned kWindowTop = 1u << 7;
// Written only into a saved set's settings file and its picture's recipe.
inline constexpr unsigned kSavedSetOnly = 1u << 8;

// Where a row's value lives: a picture parameter, a member of the window
// layout, or nothing for the keys that carry no value.
using MemberPointer = std::variant<std::monostate, int ParameterSet::*, bool ParameterSet::*,
                                   double ParameterSet::*, std::string ParameterSet::*, int WindowLayout::*,
                                   bool WindowLayout::*, std::string WindowLayout::*>;

struct KeyDescriptor {
  KeySection section;
  const char* key;
  KeyType type;
  MemberPointer member;
  unsigned flags;

  bool Has(unsigned flag) const { return (flags & flag) != 0; }
};

// The value a row names in one of the two structs, or null when the row has
// no member of type T.
template <class T>
T* RowValue(const KeyDescriptor& row, ParameterSet& params, WindowLayout& layout) {
  if (const auto* m = std::get_if<T ParameterSet::*>(&row.member)) return &(params.*(*m));
  if constexpr (!std::is_same_v<T, double>) {
    if (const auto* m = std::get_if<T WindowLayout::*>(&row.member)) return &(layout.*(*m));
  }
  return nullptr;
}

template <class T>
const T* RowValue(const KeyDescriptor& row, const ParameterSet& params, const WindowLayout& layout) {
  if (const auto* m = std::get_if<T ParameterSet::*>(&row.member)) return &(params.*(*m));
  if constexpr (!std::is_same_v<T, double>) {
    if (const auto* m = std::get_if<T WindowLayout::*>(&row.member)) return &(layout.*(*m));
  }
  return nullptr;
}

// Every row of settings_keys.def, in file order.
std::span<const KeyDescriptor> SettingsTable();

// The first row with this key (exact spelling), or null.
const KeyDescriptor* FindSettingsKey(std::string_view key);

// The fixed section names; the style section is named by the caller.
inline constexpr const char* kStartSection = "start";
inline constexpr const char* kFormsSection = "forms";

}  // namespace quorl
