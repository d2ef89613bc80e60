#pragma once

namespace vistello {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Exclamation };
enum class MsgAnswer { Ok, Yes, No };

}  // namespace vistello
