#pragma once

namespace shell {

// Maps the font names the sheet and the windows ask for (Arial, Century Gothic,
// Garamond) onto installed free fonts of matching metrics or style, so text is laid
// out as the user would see it in a spreadsheet application. Call once, after the
// QGuiApplication exists and before any of those fonts is used.
void installFontSubstitutions();

}  // namespace shell
