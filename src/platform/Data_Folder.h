// The data of an installed program. The program finds its files under ./Data/ of
// the folder it starts in; started elsewhere, it works in the user's data folder
// instead, which an installed program fills with a copy of the shipped data.
#pragma once

#include <string>

#include "platform/Message_Box.h"

// The shipped data folder of a program installed at programPath: PREFIX/bin/NAME
// beside PREFIX/share/kavelin/Data. "" when there is no such folder there, as for
// a program in its build folder.
std::string ShippedDataFolderOf(const std::string& programPath);

// The record, in the target folder, of the shipped files and folders already
// copied there, and of the data version it was last filled from.
inline constexpr const char* kCopiedDataRecord = ".kavelin-copied";

// Fills target with the shipped data once per version: copies every file and
// folder of shipped that the record in target does not list yet and target lacks,
// then records them all with the version. A file listed once is never copied
// again, so one the user deleted stays deleted, and a file already in target is
// never touched; when the record already names this version, nothing is read.
// Each copy and the record are whole or absent, so a copy cut short is completed
// by the next call. Raises EFileError naming the file or folder that failed, and
// for a record too large or of another form.
void CopyMissingDataFiles(const std::string& shipped, const std::string& target,
                          const std::string& version);

// Where the running program works. "" when it works in its working directory as
// ever: a Data/ folder is there, or neither the program's shipped data nor a
// userFolder/Data folder is. Otherwise userFolder, once userFolder/Data has been
// filled from the shipped data (or holds a Data/ folder for a program that is
// not installed); when that copy fails, problem tells why and the result is the
// shipped data's own folder, which can still be read.
std::string InstalledWorkFolder(const std::string& userFolder, std::string& problem);

// The text of the box of a program that finds no Data/ folder: the folders looked
// in, what the program reads from Data/ and how to start it. "" when
// workFolder/Data or userFolder/Data is a folder.
std::string MissingDataMessage(const std::string& workFolder, const std::string& userFolder);

// The start of the windows of a program that finds no Data/ folder, in the
// working directory or in userFolder: its creation shows the one box of
// MissingDataMessage, and while it lives the boxes of the start-up's own reads of
// the missing files go to standard error instead, as the fallback box writes
// them; after its end the pages report their missing files in boxes when used.
// Nothing changes when a Data/ folder is found.
class TMissingDataStart {
  public:
    explicit TMissingDataStart(const std::string& userFolder);
    ~TMissingDataStart();
    TMissingDataStart(const TMissingDataStart&) = delete;
    TMissingDataStart& operator=(const TMissingDataStart&) = delete;

    bool DataMissing() const { return fMissing; }

  private:
    bool fMissing = false;
    IMessageBox* fSavedBox = nullptr;
};
