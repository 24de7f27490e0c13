// Where the program's windows stand and which folders its file dialogs and
// the picture saver start from: stored in the same settings file as the
// picture's parameters, but not part of a picture. Every member is declared
// by the settings key table (the QUORL_LAYOUT_KEY rows).
//
// The folders belong here rather than to the picture: drawing the same
// settings from another folder, or saving them somewhere else, makes the
// same picture.
#pragma once

#include <string>

namespace quorl {

struct WindowLayout {
#define QUORL_DECL_Int(member, def) int member = def;
#define QUORL_DECL_Bool(member, def) bool member = def;
#define QUORL_DECL_String(member, def) std::string member = def;
#define QUORL_KEY(section, key, type, member, def, flags)
#define QUORL_LAYOUT_KEY(section, key, type, member, def, flags) QUORL_DECL_##type(member, def)
#include "settings/settings_keys.def"
#undef QUORL_KEY
#undef QUORL_LAYOUT_KEY
#undef QUORL_DECL_Int
#undef QUORL_DECL_Bool
#undef QUORL_DECL_String

  bool operator==(const WindowLayout&) const = default;
};

}  // namespace quorl
