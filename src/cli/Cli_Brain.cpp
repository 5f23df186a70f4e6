// kavelin-cli brain FILE: builds the brain of the "Neuronal  Network" page from
// the configuration FILE on a picture of the page's size, and lists every neuron
// in drawing order (sensory, concept, then motor zones), one line each, fields
// separated by a tab: zone number, id, X, Y, Z in the real format, then the
// pixel column and row of its box's centre. The configuration's reports follow
// as trace lines.
#include <cstdio>

#include "analysis/NNetwork2_Unit.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"

namespace {

// The size of the page's picture.
constexpr int32_t kPictureWidth = 457;
constexpr int32_t kPictureHeight = 393;

int RunBrain(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("brain", "expects one configuration FILE");
    TMemoryPicture picture(kPictureWidth, kPictureHeight);
    const TBrain brain(&picture, args[0]);
    for (const TBrainZone* zone : brain.ZonesInDrawingOrder())
        for (const auto& neuron : zone->fNeurons) {
            const TPoint pixel = TBrain::NeuronPixel(*neuron);
            const T3DPoint& p = neuron->fPosition;
            std::printf("%d\t%lld\t%s\t%s\t%s\t%d\t%d\n", zone->fNumber,
                        static_cast<long long>(neuron->Id),
                        FloatToStr(static_cast<double>(p.X)).c_str(),
                        FloatToStr(static_cast<double>(p.Y)).c_str(),
                        FloatToStr(static_cast<double>(p.Z)).c_str(), pixel.X, pixel.Y);
        }
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("brain", "FILE",
                   "builds a brain from the configuration FILE and lists its neurons in drawing "
                   "order: zone, id, X, Y, Z, pixel column and row on a 457 x 393 picture",
                   RunBrain);
