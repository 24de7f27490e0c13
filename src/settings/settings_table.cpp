#include "settings/settings_table.h"

#include <iterator>

namespace quorl {
namespace {

#define QUORL_MEMBER_Int(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_Bool(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_Float(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_String(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_IntAsFloat(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_BoolAgain(member) MemberPointer(&ParameterSet::member)
#define QUORL_MEMBER_Unread(member) MemberPointer()
#define QUORL_KEY(section, key, type, member, def, flags) \
  KeyDescriptor{KeySection::section, key, KeyType::type, QUORL_MEMBER_##type(member), flags},
#define QUORL_LAYOUT_KEY(section, key, type, member, def, flags) \
  KeyDescriptor{KeySection::section, key, KeyType::type, MemberPointer(&WindowLayout::member), flags},

const KeyDescriptor kRows[] = {
#include "settings/settings_keys.def"
};

#undef QUORL_KEY
#undef QUORL_LAYOUT_KEY
#undef QUORL_MEMBER_Int
#undef QUORL_MEMBER_Bool
#undef QUORL_MEMBER_Float
#undef QUORL_MEMBER_String
#undef QUORL_MEMBER_IntAsFloat
#undef QUORL_MEMBER_BoolAgain
#undef QUORL_MEMBER_Unread

}  // namespace

std::span<const KeyDescriptor> SettingsTable() {
  return {kRows, std::size(kRows)};
}

const KeyDescriptor* FindSettingsKey(std::string_view key) {
  for (const KeyDescriptor& row : kRows)
    if (key == row.key) return &row;
  return nullptr;
}

}  // namespace quorl
