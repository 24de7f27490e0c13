#include "settings/parameter_record.h"

#include <cctype>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <variant>

#include "base/number_text.h"

namespace quorl {
namespace {

enum ValueType : std::uint8_t { kInt = 1, kBool = 2, kFloat = 3, kText = 4 };

void Put(ByteWriter& out, const char* name, int v) {
  out.String(name);
  out.U8(kInt);
  out.I32(v);
}
void Put(ByteWriter& out, const char* name, bool v) {
  out.String(name);
  out.U8(kBool);
  out.Bool(v);
}
void Put(ByteWriter& out, const char* name, double v) {
  out.String(name);
  out.U8(kFloat);
  out.F64(v);
}
void Put(ByteWriter& out, const char* name, const std::string& v) {
  out.String(name);
  out.U8(kText);
  out.String(v);
}

// The members of two sets side by side, once each (BoolAgain and Unread rows
// have none); `form` is set for window positions and sizes.
template <typename Visit>
void ForEachMemberPair(const ParameterSet& a, const ParameterSet& b, Visit&& visit) {
  constexpr bool Start = false, Style = false, Forms = true;
  (void)Start, (void)Style, (void)Forms;
#define QUORL_VISIT_Int(section, member) visit(#member, a.member, b.member, section);
#define QUORL_VISIT_Bool QUORL_VISIT_Int
#define QUORL_VISIT_Float QUORL_VISIT_Int
#define QUORL_VISIT_String QUORL_VISIT_Int
#define QUORL_VISIT_IntAsFloat QUORL_VISIT_Int
#define QUORL_VISIT_BoolAgain(section, member)
#define QUORL_VISIT_Unread(section, member)
#define QUORL_KEY(section, key, type, member, def, flags) QUORL_VISIT_##type(section, member)
#define QUORL_LAYOUT_KEY(section, key, type, member, def, flags)
#include "settings/settings_keys.def"
#undef QUORL_KEY
#undef QUORL_LAYOUT_KEY
#undef QUORL_VISIT_Int
#undef QUORL_VISIT_Bool
#undef QUORL_VISIT_Float
#undef QUORL_VISIT_String
#undef QUORL_VISIT_IntAsFloat
#undef QUORL_VISIT_BoolAgain
#undef QUORL_VISIT_Unread
}

std::string Text(int v) {
  return FormatInt(v);
}
std::string Text(bool v) {
  return v ? "on" : "off";
}
std::string Text(double v) {
  return FormatFloat(v);
}
std::string Text(const std::string& v) {
  return "\"" + v + "\"";
}

template <typename T>
bool Same(const T& a, const T& b) {
  if constexpr (std::is_same_v<T, double>) {
    // Bit for bit: a NaN equals itself, 0 and -0 differ.
    return std::memcmp(&a, &b, sizeof a) == 0;
  } else {
    return a == b;
  }
}

}  // namespace

void WriteParameters(ByteWriter& out, const ParameterSet& params) {
  ByteWriter body;
  std::uint64_t count = 0;
  ForEachMemberPair(params, params, [&](const char* name, const auto& value, const auto&, bool) {
    Put(body, name, value);
    ++count;
  });
  out.U64(count);
  out.Raw(body.Bytes().data(), body.Bytes().size());
}

bool ReadParameters(ByteReader& in, ParameterSet& params) {
  using Target = std::variant<int*, bool*, double*, std::string*>;
  std::unordered_map<std::string_view, Target> members;
  ForEachMemberPair(params, params, [&](const char* name, const auto& value, const auto&, bool) {
    using T = std::decay_t<decltype(value)>;
    members.emplace(name, const_cast<T*>(&value));
  });
  // Each entry takes a name length, a type and a value: at least 10 bytes.
  const std::size_t count = in.Count(10);
  for (std::size_t i = 0; i < count && in.Ok(); ++i) {
    const std::string name = in.String();
    const std::uint8_t type = in.U8();
    const auto it = members.find(name);
    Target target = it == members.end() ? Target() : it->second;
    const bool known = it != members.end();
    // A known name with another type is damage, not a newer file.
    switch (type) {
      case kInt: {
        const int v = in.I32();
        if (known && !std::holds_alternative<int*>(target)) in.Fail();
        if (known && in.Ok()) *std::get<int*>(target) = v;
        break;
      }
      case kBool: {
        const bool v = in.Bool();
        if (known && !std::holds_alternative<bool*>(target)) in.Fail();
        if (known && in.Ok()) *std::get<bool*>(target) = v;
        break;
      }
      case kFloat: {
        const double v = in.F64();
        if (known && !std::holds_alternative<double*>(target)) in.Fail();
        if (known && in.Ok()) *std::get<double*>(target) = v;
        break;
      }
      case kText: {
        std::string v = in.String();
        if (known && !std::holds_alternative<std::string*>(target)) in.Fail();
        if (known && in.Ok()) *std::get<std::string*>(target) = std::move(v);
        break;
      }
      default:
        in.Fail();
        break;
    }
  }
  return in.Ok();
}

std::vector<ParameterChange> ChangedParameters(const ParameterSet& before, const ParameterSet& after) {
  std::vector<ParameterChange> changes;
  ForEachMemberPair(before, after, [&](const char* name, const auto& a, const auto& b, bool form) {
    // Compared by value: two different doubles could print alike.
    if (!form && !Same(a, b)) changes.push_back({name, Text(a), Text(b)});
  });
  return changes;
}

void CopyRecipeValues(const ParameterSet& from, ParameterSet& to) {
  ForEachMemberPair(from, to, [](const char*, const auto& a, const auto& b, bool form) {
    using T = std::decay_t<decltype(b)>;
    if (!form) const_cast<T&>(b) = a;
  });
}

std::string ReadableName(const std::string& member) {
  std::string out;
  for (std::size_t i = 0; i < member.size(); ++i) {
    const char c = member[i];
    const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
    const bool prevLower = i > 0 && std::islower(static_cast<unsigned char>(member[i - 1])) != 0;
    if (upper && prevLower) {
      out += ' ';
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else {
      out += c;
    }
  }
  return out;
}

std::string DescribeChanges(const std::vector<ParameterChange>& changes) {
  constexpr std::size_t kShown = 3;
  std::string out;
  for (std::size_t i = 0; i < changes.size() && i < kShown; ++i) {
    if (!out.empty()) out += ", ";
    out += ReadableName(changes[i].name) + " " + changes[i].before + " \u2192 " + changes[i].after;
  }
  if (changes.size() > kShown) out += " and " + std::to_string(changes.size() - kShown) + " more";
  return out;
}

}  // namespace quorl
