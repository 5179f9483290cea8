#pragma once

namespace shell {

// A window's mouse pointer: one value that every handler of the window consults.
enum class PointerShape {
    Default,  // the arrow
    Busy,     // the hourglass, for the length of a generation run
    Custom,   // the hand
};

// The hand cursor file both windows look for in the program's folder.
inline constexpr const char* kHandCursorFile = "HAND-M.CUR";

}  // namespace shell
