// kavelin-cli points SRC DST.txt: the points file of the picture SRC, written to
// DST, as the "Transform Picture Points" page writes it (white is the background).
// kavelin-cli analyse PICTURE [--min N --cover N --var N] [--out FILE.png]: the
// discriminant analysis of PICTURE (by default with 20, 90 and 90, as the page
// runs it), the picture's own size standing for the page's picture control;
// prints the trace lines and writes the outlined picture when asked.

#include <cstdio>
#include <string>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "platform/Picture.h"
#include "platform/Picture_Reader.h"

namespace {

int RunPoints(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("points", "expects a picture file and DST.txt");
    if (!RequireExtension("points", "DST", args[1], ".txt")) return kExitUsage;
    if (!RequireFile("points", args[0], "picture")) return kExitFailed;
    TTransPictureToPointsFile transformer(clWhite);
    transformer.Transform(args[0], args[1]);
    return kExitDone;
}

bool ParseSetting(const std::string& text, int32_t lowest, int32_t& value) {
    const std::optional<int32_t> parsed = ParseInt32(text, TIntegerForm::CLike);
    if (!parsed || *parsed < lowest || *parsed > TDiscriminantAnalysisManager::kHighestSetting)
        return false;
    value = *parsed;
    return true;
}

// The analysis's record as JSON: the coverage line and the parts listed.
void PrintAnalysisJson() {
    int64_t covered = 0;
    TJsonArray parts;
    for (const std::string& line : TraceLines()) {
        long long c = 0;
        int l = 0, t = 0, r = 0, b = 0;
        char rest = 0;
        if (std::sscanf(line.c_str(), "Covered : %lld%c", &c, &rest) == 1)
            covered = c;
        else if (std::sscanf(line.c_str(), "%d %d %d %d%c", &l, &t, &r, &b, &rest) == 4)
            parts.Append(
                TJsonObject().Set("left", l).Set("top", t).Set("right", r).Set("bottom", b));
    }
    DropTrace();
    PrintJson(TJsonObject().Set("covered", covered).Set("parts", parts));
}

int RunAnalyse(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string out;
    int32_t minPartSize = 20, coverage = 90, maxVariability = 90;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--min" || arg == "--cover" || arg == "--var") {
            const int32_t lowest = arg == "--min" ? TDiscriminantAnalysisManager::kLowestMinPartSize
                                                  : TDiscriminantAnalysisManager::kLowestPercentage;
            int32_t& value = arg == "--min"     ? minPartSize
                             : arg == "--cover" ? coverage
                                                : maxVariability;
            if (i + 1 >= args.size() || !ParseSetting(args[i + 1], lowest, value))
                return UsageError(
                    "analyse", arg + " needs a whole number from " + std::to_string(lowest) +
                                   " to " +
                                   std::to_string(TDiscriminantAnalysisManager::kHighestSetting));
            ++i;
        } else if (arg == "--out") {
            if (i + 1 >= args.size()) return UsageError("analyse", "--out needs FILE.png");
            if (!RequireExtension("analyse", "--out", args[i + 1], ".png")) return kExitUsage;
            out = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("analyse", "unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) return UsageError("analyse", "expects one picture file");
    if (!RequireFile("analyse", files[0], "picture")) return kExitFailed;
    const TBitmap original = ReadPictureFile(files[0]);
    TMemoryPicture picture(original.Width(), original.Height());
    TDiscriminantAnalysisManager manager(picture);
    manager.fFileName = files[0];
    TToolProgress progress;
    if (!manager.Analyse(manager.fFileName, minPartSize, coverage, maxVariability, progress))
        return kExitInterrupted;
    if (!out.empty()) SaveBitmapAsPng(picture.Bitmap(), out);
    if (JsonOutput()) PrintAnalysisJson();
    return kExitDone;
}

std::string AnalyseHelp() {
    using M = TDiscriminantAnalysisManager;
    const std::string highest = std::to_string(M::kHighestSetting);
    const std::string percent = std::to_string(M::kLowestPercentage) + " to " + highest;
    return "The discriminant analysis of the picture analysis page on PICTURE, at its own "
           "size: square seeds grow into parts of even colour until the parts cover the share "
           "of the picture asked for. Prints \"Covered : \" and the per cent covered, then one "
           "line \"left top right bottom\" per part. A coverage that cannot be reached is a "
           "warning on standard error.\n\n"
           "  --min N      the side of a seed in pixels, " +
           std::to_string(M::kLowestMinPartSize) + " to " + highest +
           " (20)\n"
           "  --cover N    the per cent of the picture to cover, " +
           percent +
           " (90)\n"
           "  --var N      the greatest variability within a part, " +
           percent +
           " (90)\n"
           "  --out FILE   also writes the picture with the parts outlined in white; FILE\n"
           "               must end in .png";
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "points", "SRC DST.txt", "writes the points file of a picture", RunPoints,
    "Writes one line \"x y\" (CR LF) for every pixel of the picture SRC that is not white, "
    "column by column from the left, as the \"Transform Picture Points\" page does. SRC is a "
    "bitmap, icon, JPEG, PNG or GIF file; DST must end in .txt and must not be SRC itself.");
KAVELIN_SUBCOMMAND("analyse", "PICTURE [--min 20] [--cover 90] [--var 90] [--out FILE.png]",
                   "splits a picture into homogeneous parts", RunAnalyse, AnalyseHelp(), true);
