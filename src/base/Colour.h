// Colours as the engines and the in-memory bitmap keep them: red in the low byte,
// green in the second, blue in the third. A value with the high bit set names a
// system colour, resolved by the window layer.
#pragma once

#include <cstdint>

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;

constexpr TColor RGBColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) |
           (static_cast<TColor>(blue) << 16);
}
constexpr uint8_t RedOf(TColor c) {
    return c & 0xFF;
}
constexpr uint8_t GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr uint8_t BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr bool IsSystemColour(TColor c) {
    return (c & clSystemColor) != 0;
}
