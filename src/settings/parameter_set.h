// The one flat set of named values that describes a picture. Every member is
// declared by the settings key table, so a parameter's name is its key.
// Window geometry and folders are in WindowLayout (window_layout.h).
#pragma once

#include <string>

#include "base/angles.h"

namespace quorl {

struct ParameterSet {
#define QUORL_DECL_Int(member, def) int member = def;
#define QUORL_DECL_Bool(member, def) bool member = def;
#define QUORL_DECL_Float(member, def) double member = def;
#define QUORL_DECL_String(member, def) std::string member = def;
#define QUORL_DECL_IntAsFloat(member, def) int member = def;
#define QUORL_DECL_BoolAgain(member, def)
#define QUORL_DECL_Unread(member, def)
#define QUORL_KEY(section, key, type, member, def, flags) QUORL_DECL_##type(member, def)
#define QUORL_LAYOUT_KEY(section, key, type, member, def, flags)
#include "settings/settings_keys.def"
#undef QUORL_KEY
#undef QUORL_LAYOUT_KEY
#undef QUORL_DECL_Int
#undef QUORL_DECL_Bool
#undef QUORL_DECL_Float
#undef QUORL_DECL_String
#undef QUORL_DECL_IntAsFloat
#undef QUORL_DECL_BoolAgain
#undef QUORL_DECL_Unread

  bool operator==(const ParameterSet&) const = default;
};

}  // namespace quorl
