// The line list: an ordered list of text lines (Windows-1252 bytes), as memos,
// rich edits and engines exchange them.
#pragma once

#include <string>
#include <vector>

// What every holder of lines offers: the memos and rich edits of the windows,
// the trace, and the plain in-memory list below. Indexes count from 0.
class TLines {
  public:
    virtual ~TLines() = default;
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Add(const std::string& line) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // Replaces every line with those of `lines`.
    virtual void Assign(const std::vector<std::string>& lines);
    // Every line, in order. A holder that reaches a line by its number through a
    // search (the memos) reads them all in one pass instead.
    virtual std::vector<std::string> ToVector() const;

    // Reads a file as bytes; CR LF, LF and CR all end a line. Raises EFileError
    // naming the file when it cannot be opened or read.
    void LoadFromFile(const std::string& fileName);
    // Writes the lines ended by CR LF, whole or not at all: the text goes to a
    // temporary file beside the target, which then replaces it. Raises EFileError
    // naming the file when it cannot be written; the previous file stays intact.
    void SaveToFile(const std::string& fileName) const;
};

// Splits a text into lines at CR LF, LF or CR. A final line end adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);

// The plain line list, held in memory.
class TLineList : public TLines {
  public:
    TLineList() = default;
    explicit TLineList(std::vector<std::string> lines) : fLines(std::move(lines)) {}

    int Count() const override { return static_cast<int>(fLines.size()); }
    std::string Get(int index) const override;
    void Add(const std::string& line) override { fLines.push_back(line); }
    void Delete(int index) override;
    // Removes the first `count` lines at once (fewer when the list holds fewer).
    void DeleteFirst(int count);
    void Clear() override { fLines.clear(); }
    void Assign(const std::vector<std::string>& lines) override { fLines = lines; }

    const std::vector<std::string>& Lines() const { return fLines; }

  private:
    std::vector<std::string> fLines;
};
