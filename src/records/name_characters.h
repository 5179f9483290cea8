#pragma once

#include <QString>
#include <optional>

namespace records {

// The first character of a name that files and their readers cannot carry: NUL
// and the other control characters but tab and line breaks, and the Unicode
// non-characters (U+FFFE, U+FFFF, U+FDD0 to U+FDEF and the last two of every
// plane); none when the name has no such character.
std::optional<char32_t> uncarriedNameCharacter(const QString& name);

}  // namespace records
