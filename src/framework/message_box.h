#pragma once

namespace vistello {

// YesNoSafe asks a question whose Yes may do harm: No is the default button.
enum class MsgButtons { Ok, YesNo, YesNoSafe };
enum class MsgIcon { None, Exclamation };
enum class MsgAnswer { Ok, Yes, No };

}  // namespace vistello
