#include "analysis/TransForm_Picture_To_Points_File_Unit.h"

#include "base/Errors.h"
#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Picture_Reader.h"

void TTransPictureToPointsFile::Transform(const std::string& source,
                                          const std::string& destination) {
    if (source.empty() || destination.empty()) {
        Messenger.Error(
            "Erreur : Transform_Picture_To_Points_File_Unit : TTransPictureToPointsFile.Transform "
            ": At "
            "Least one of the Given FileNames is empty");
        return;
    }
    // The points would replace the picture they are read from.
    if (IsSameFile(source, destination))
        throw EFileError("Cannot write file \"" + destination + "\": it is the picture \"" +
                         source + "\" itself");
    fImage = ReadPictureFile(source);
    for (int32_t x = 0; x < fImage.Width(); ++x)
        for (int32_t y = 0; y < fImage.Height(); ++y)
            if (fImage.Pixel(x, y) != fBackgroundColor) fLines.Add(IntToStr(x) + " " + IntToStr(y));
    fLines.SaveToFile(destination);
}
