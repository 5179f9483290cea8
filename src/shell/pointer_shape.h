#pragma once

namespace records {

// The main window's mouse pointer: one value that every handler consults.
enum class PointerShape {
    Default,  // the arrow
    Busy,     // the hourglass, for the length of a generation run
    Custom,   // the hand
};

}  // namespace records
