#pragma once

#include <QString>

namespace shell {

// The longest user text a message quotes whole, in characters.
inline constexpr int kQuotedTextLength = 60;

// A text the user gave, as a message quotes it: in double quotes, on one line
// (line breaks and other control characters shown as blanks), and cut to
// kQuotedTextLength characters with "…" when longer, never inside a surrogate pair.
QString quotedForMessage(const QString& text);

// The system's description of an error number (strerror), as messages give it.
QString systemErrorText(int error);

}  // namespace shell
