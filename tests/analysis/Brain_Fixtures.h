// Test support for the brain: which neuron boxes can be checked on a picture, and
// whether a box of the canvas defaults stands at a given centre.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "analysis/NNetwork2_Unit.h"
#include "base/Colour.h"

namespace brain_fixtures {

// The box centres of the neurons that land wholly inside a picture of the given
// size with no other neuron's box within reach, so that their pixels are theirs.
inline std::vector<TPoint> IsolatedBoxCentres(const TBrain& brain, int32_t width, int32_t height) {
    std::vector<TPoint> centres;
    for (const TBrainZone* zone : brain.ZonesInDrawingOrder())
        for (const auto& neuron : zone->fNeurons) centres.push_back(TBrain::NeuronPixel(*neuron));
    std::vector<TPoint> isolated;
    for (size_t i = 0; i < centres.size(); ++i) {
        const TPoint c = centres[i];
        if (c.X < 3 || c.Y < 3 || c.X > width - 4 || c.Y > height - 4) continue;
        bool alone = true;
        for (size_t j = 0; j < centres.size() && alone; ++j)
            alone =
                i == j || std::abs(centres[j].X - c.X) >= 6 || std::abs(centres[j].Y - c.Y) >= 6;
        if (alone) isolated.push_back(c);
    }
    return isolated;
}

// Empty when the 5 x 5 square around `centre` holds one box of the canvas
// defaults: a black outline from (X - 2, Y - 2) to (X + 1, Y + 1), a white
// inside, and the right column and bottom row left white. Otherwise, the first
// pixel that differs.
inline std::string BoxMismatch(const std::function<TColor(int32_t, int32_t)>& pixel,
                               TPoint centre) {
    for (int32_t dy = -2; dy <= 2; ++dy)
        for (int32_t dx = -2; dx <= 2; ++dx) {
            const bool outline = dx <= 1 && dy <= 1 && (dx == -2 || dx == 1 || dy == -2 || dy == 1);
            const TColor expected = outline ? clBlack : clWhite;
            const TColor got = pixel(centre.X + dx, centre.Y + dy) & 0xFFFFFF;
            if (got != expected)
                return "pixel (" + std::to_string(centre.X + dx) + ", " +
                       std::to_string(centre.Y + dy) + ") is " + std::to_string(got);
        }
    return std::string();
}

}  // namespace brain_fixtures
