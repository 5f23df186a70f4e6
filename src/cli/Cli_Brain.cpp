// kavelin-cli brain FILE: builds the brain of the "Neuronal  Network" page from
// the configuration FILE on a picture of the page's size, and lists every neuron
// in drawing order (sensory, concept, then motor zones), one line each, fields
// separated by a tab: zone number, id, X, Y, Z in the real format, then the
// pixel column and row of its box's centre. The configuration's reports go to
// standard error.
#include <cstdio>
#include <memory>

#include "analysis/NNetwork2_Unit.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"

namespace {

// The size of the page's picture.
constexpr int32_t kPictureWidth = 457;
constexpr int32_t kPictureHeight = 393;

int RunBrain(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("brain", "expects one configuration FILE");
    if (!RequireFile("brain", args[0], "configuration file")) return kExitFailed;
    TMemoryPicture picture(kPictureWidth, kPictureHeight);
    TToolProgress progress;
    const std::unique_ptr<TBrain> brain = TBrain::Build(&picture, progress, args[0]);
    if (!brain) return kExitInterrupted;
    TJsonArray neurons;
    for (const TBrainZone* zone : brain->ZonesInDrawingOrder())
        for (const auto& neuron : zone->fNeurons) {
            const TPoint pixel = TBrain::NeuronPixel(*neuron);
            const T3DPoint& p = neuron->fPosition;
            if (JsonOutput()) {
                neurons.Append(TJsonObject()
                                   .Set("zone", zone->fNumber)
                                   .Set("id", static_cast<int64_t>(neuron->Id))
                                   .Set("x", static_cast<double>(p.X))
                                   .Set("y", static_cast<double>(p.Y))
                                   .Set("z", static_cast<double>(p.Z))
                                   .Set("column", pixel.X)
                                   .Set("row", pixel.Y));
                continue;
            }
            std::printf("%d\t%lld\t%s\t%s\t%s\t%d\t%d\n", zone->fNumber,
                        static_cast<long long>(neuron->Id),
                        FloatToStr(static_cast<double>(p.X)).c_str(),
                        FloatToStr(static_cast<double>(p.Y)).c_str(),
                        FloatToStr(static_cast<double>(p.Z)).c_str(), pixel.X, pixel.Y);
        }
    if (JsonOutput()) PrintJson(TJsonObject().Set("neurons", neurons));
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "brain", "FILE", "builds a brain and lists its neurons", RunBrain,
    "Builds the brain of the \"Neuronal Network\" page from the INI configuration FILE (its "
    "zones and their neurons, placed at random in their zones: --seed repeats a build) on a "
    "picture of 457 x 393 pixels, and lists every neuron in drawing order (sensory, concept, "
    "then motor zones), one line each, fields parted by a tab: zone number, id, X, Y, Z in the "
    "real format, then the pixel column and row of the centre of its box.\n\n"
    "A FILE that does not exist is said first (exit 1); what the configuration lacks is the "
    "engine's error (exit 1).",
    true);
