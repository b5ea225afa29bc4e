#pragma once

#include <QString>

#include <cstdint>

// A colour as an RGB triple.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr Rgb() = default;
    constexpr Rgb(int red, int green, int blue)
        : r(std::uint8_t(red)), g(std::uint8_t(green)), b(std::uint8_t(blue)) {}
    constexpr bool operator==(const Rgb &) const = default;
    // "#RRGGBB", upper-case hex.
    QString hex() const { return QString::asprintf("#%02X%02X%02X", r, g, b); }
};

// The colours the analysis windows share, named by their usual role.
namespace Palette {
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Red{255, 0, 0};            // red text
inline constexpr Rgb Blue{0, 0, 255};           // blue text
inline constexpr Rgb LightYellow{255, 255, 200}; // heading column (draw numbers or counts)
inline constexpr Rgb LightPink{255, 200, 200};   // heading rows
inline constexpr Rgb LightCyan{200, 255, 255};   // bands of number columns
inline constexpr Rgb PaleCyan{222, 254, 253};    // number column or row of the dot charts
inline constexpr Rgb LightBlue{136, 196, 255};   // coloured border lines around heading blocks
inline constexpr Rgb LightGreen{200, 255, 200};
inline constexpr Rgb LightMagenta{255, 200, 255};
inline constexpr Rgb LightViolet{200, 200, 255};
inline constexpr Rgb MainMark{62, 158, 255};     // mark of a main number
inline constexpr Rgb Bonus1Mark{255, 128, 192};  // mark of bonus number 1
inline constexpr Rgb Bonus2Mark{0, 255, 170};    // mark of bonus number 2
inline constexpr Rgb Grey210{210, 210, 210};     // neutral cells
inline constexpr Rgb Grey225{225, 225, 225};
inline constexpr Rgb CarryOver{128, 255, 255};   // legend sample of the carry-over window

// Mark colour of field k (1..7 main, 8 bonus 1, 9 bonus 2).
constexpr Rgb markColour(int field) {
    return field <= 7 ? MainMark : field == 8 ? Bonus1Mark : Bonus2Mark;
}
} // namespace Palette
