// kavelin-cli points SRC DST: the points file of the picture SRC, written to DST,
// as the "Transform Picture Points" page writes it (white is the background).
// kavelin-cli analyse PICTURE [--min N --cover N --var N] [--out FILE.png]: the
// discriminant analysis of PICTURE (by default with 20, 90 and 90, as the page
// runs it), the picture's own size standing for the page's picture control;
// prints the trace lines and writes the outlined picture when asked.

#include "analysis/Discriminant_Analysis_Unit.h"
#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "platform/Picture.h"
#include "platform/Picture_Reader.h"

namespace {

int RunPoints(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("points", "expects a picture file and a points file");
    TTransPictureToPointsFile transformer(clWhite);
    transformer.Transform(args[0], args[1]);
    return 0;
}

bool ParseSetting(const std::string& text, int32_t lowest, int32_t& value) {
    const std::optional<int32_t> parsed = ParseInt32(text, TIntegerForm::CLike);
    if (!parsed || *parsed < lowest || *parsed > TDiscriminantAnalysisManager::kHighestSetting)
        return false;
    value = *parsed;
    return true;
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
            if (i + 1 >= args.size() || PictureFormatOf(args[i + 1]) != TPictureFormat::Png)
                return UsageError("analyse", "--out needs a .png file name");
            out = args[++i];
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) return UsageError("analyse", "expects one picture file");
    const TBitmap original = ReadPictureFile(files[0]);
    TMemoryPicture picture(original.Width(), original.Height());
    TDiscriminantAnalysisManager manager(picture);
    manager.fFileName = files[0];
    manager.Analyse(manager.fFileName, minPartSize, coverage, maxVariability);
    if (!out.empty()) SaveBitmapAsPng(picture.Bitmap(), out);
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("points", "SRC DST",
                   "writes one line \"x y\" for every non-white pixel of the picture SRC to DST",
                   RunPoints);
KAVELIN_SUBCOMMAND(
    "analyse", "PICTURE [--min 20 --cover 90 --var 90] [--out FILE.png]",
    "splits PICTURE into homogeneous parts, lists them and outlines them in FILE.png", RunAnalyse);
