// TransForm_Picture_To_Points_File_Unit: a picture turned into a text file of
// points, one line "x y" for every pixel whose colour differs from a background
// colour.
//
// Points file: lines ended by CR LF, no header; x is the column and y the row,
// both from 0 at the top-left pixel, in decimal; the lines run column by column,
// each column from the top row down. A picture made only of background pixels
// gives an empty file.
#pragma once

#include <string>

#include "base/Colour.h"
#include "base/Line_List.h"
#include "platform/Bitmap.h"

class TTransPictureToPointsFile {
  public:
    // Pixels of exactly `backgroundColor` (0x00BBGGRR) are left out.
    explicit TTransPictureToPointsFile(TColor backgroundColor)
        : fBackgroundColor(backgroundColor) {}

    // Writes the points of the picture file `source` to the file `destination`,
    // replacing it, whole or not at all. The points gathered by earlier calls on
    // the same transformer are kept: a second call appends its points after the
    // first's and saves both. An empty name is reported as an error and nothing
    // is read or written; a source that cannot be read or a destination that
    // cannot be written raises EFileError.
    void Transform(const std::string& source, const std::string& destination);

    const TLineList& Lines() const { return fLines; }

  private:
    TColor fBackgroundColor;
    TBitmap fImage;
    TLineList fLines;
};
