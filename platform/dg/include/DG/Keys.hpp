// Keys and modifier keys a person presses: the codes that hot keys are registered with and
// that mouse events report. Printable keys are their character codes; the special keys have
// negative codes.
#pragma once

namespace DG {

namespace Key {
inline constexpr short Backspace = -1;
inline constexpr short Tab = -2;
inline constexpr short Enter = -3;
inline constexpr short Return = -4;
inline constexpr short Escape = -5;
inline constexpr short Delete = -6;
inline constexpr short Left = -7;
inline constexpr short Right = -8;
inline constexpr short Up = -9;
inline constexpr short Down = -10;

// The name a person reads for a key ("Escape", "A"); a script may name keys this way.
const char* Name(short key);
// The key named by text (a special key's name or one printable character); 0 when none.
short FromName(const char* name);
} // namespace Key

// Modifier keys held during a click or a key press, as bit flags.
namespace Modifier {
inline constexpr unsigned None = 0;
inline constexpr unsigned Command = 0x1;
inline constexpr unsigned Option = 0x2;
inline constexpr unsigned Shift = 0x4;
} // namespace Modifier

} // namespace DG
