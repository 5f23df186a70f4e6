// kavelin-cli: one subcommand per engine, for scripting, batch runs and tests.
// Standard output carries the result and the trace lines of the run, printed
// when the subcommand ends; every error, warning and refusal goes at once to
// standard error, one line each; the exit status follows one rule (Cli.h).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/Errors.h"
#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "common/Random_Source.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Data_Folder.h"
#include "platform/Message_Box.h"
#include "platform/Paths.h"
#include "platform/Text_Display.h"
#include "qt/Qt_Data_Folder.h"
#include "qt/Qt_Locale.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0"
#endif

namespace {

constexpr size_t kColumns = 80;

std::vector<TSubcommand>& Registry() {
    static std::vector<TSubcommand> registry;
    return registry;
}

std::string& Current() {
    static std::string current;
    return current;
}

bool gJson = false;

// The tool's trace: the run's record, printed on standard output at the end.
// The Messenger's error block (a banner, the message, a closing line) is left
// out, as the same message reaches standard error through the error box;
// warnings go to standard error at once instead of into the record.
class TToolTrace : public TMemoryTextDisplay {
  public:
    static constexpr const char* kErrorBanner = "*******ERROR*******";
    static constexpr const char* kErrorEnd = "*******************";

    // ReplaceLast deletes the last line and adds the text through here.
    void Add(const std::string& text) override {
        if (!Dropped(text)) TMemoryTextDisplay::Add(text);
    }

  private:
    enum class TState { Record, Banner, Message };
    bool Dropped(const std::string& text) {
        switch (fState) {
            case TState::Banner:
                fState = TState::Message;
                return true;
            case TState::Message:
                fState = TState::Record;
                if (text == kErrorEnd) return true;
                break;
            case TState::Record:
                break;
        }
        if (text == kErrorBanner) {
            fState = TState::Banner;
            return true;
        }
        if (text.rfind("Warning : ", 0) == 0) {
            ReportError(CurrentSubcommand(), AnsiToUtf8(text));
            return true;
        }
        return false;
    }

    TState fState = TState::Record;
};

TToolTrace* gTrace = nullptr;

// Error boxes become lines on standard error, written at once; a subcommand
// that reported an error fails.
class TConsoleMessageBox : public IMessageBox {
  public:
    void Show(const std::string& text) override {
        static const std::string kErrorPrefix = "*ERROR*";
        const std::string message =
            text.rfind(kErrorPrefix, 0) == 0 ? text.substr(kErrorPrefix.size()) : text;
        ReportError(CurrentSubcommand(), AnsiToUtf8(message));
        fShown = true;
    }
    bool fShown = false;
};

// Words of `text` in lines of at most kColumns, the first starting with
// `first`, the others with `indent`. A word longer than a line stands alone.
std::string Wrap(const std::string& text, const std::string& first, const std::string& indent) {
    std::string out;
    std::string line = first;
    bool empty = true;
    size_t k = 0;
    while (k < text.size()) {
        const size_t start = text.find_first_not_of(' ', k);
        if (start == std::string::npos) break;
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        k = end;
        if (!empty && line.size() + 1 + word.size() > kColumns) {
            out += line + "\n";
            line = indent;
            empty = true;
        }
        if (!empty) line += ' ';
        line += word;
        empty = false;
    }
    return out + line + "\n";
}

// A help text: paragraphs part with a blank line and are wrapped; a line that
// begins with two spaces stands as written.
std::string WrapParagraphs(const std::string& text) {
    std::string out;
    std::string paragraph;
    const auto flush = [&] {
        if (!paragraph.empty()) out += Wrap(paragraph, "", "");
        paragraph.clear();
    };
    size_t k = 0;
    while (k <= text.size()) {
        size_t end = text.find('\n', k);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(k, end - k);
        k = end + 1;
        if (line.rfind("  ", 0) == 0) {
            flush();
            out += line + "\n";
        } else if (line.empty()) {
            flush();
            out += "\n";
        } else {
            paragraph += (paragraph.empty() ? "" : " ") + line;
        }
    }
    flush();
    return out;
}

const char* const kExitStatusHelp =
    "Exit status: 0 done; 1 the work failed (a file that cannot be read, a refused input, an "
    "engine error); 2 usage (an unknown subcommand or option, a missing argument, a value "
    "outside its range); 130 interrupted (SIGINT). `sat solve` has statuses of its own "
    "(kavelin-cli help sat).";

const char* const kOptionsHelp =
    "Options (before the subcommand):\n"
    "  --seed N     every reseed of the random source uses N (also KAVELIN_SEED)\n"
    "  --profile    after the subcommand, its timed sections on standard error:\n"
    "               section, calls, total_ms, mean_ms, max_ms (tab-separated), or\n"
    "               one JSON line with --json\n"
    "  --json       the result as one JSON document on standard output, for the\n"
    "               subcommands marked (json); also accepted after them\n"
    "  --progress   the progress of long work on standard error even when that is\n"
    "               no terminal (a terminal always shows it)\n"
    "  --help, -h   this text; kavelin-cli help SUBCOMMAND for one subcommand\n"
    "  --version    the program's version\n";

std::vector<const TSubcommand*> Sorted() {
    std::vector<const TSubcommand*> sorted;
    for (const auto& s : Subcommands()) sorted.push_back(&s);
    std::sort(sorted.begin(), sorted.end(),
              [](const TSubcommand* a, const TSubcommand* b) { return a->fName < b->fName; });
    return sorted;
}

void PrintHelp() {
    std::string text =
        "Usage: kavelin-cli [OPTIONS] SUBCOMMAND [ARGUMENTS]\n"
        "       kavelin-cli help [SUBCOMMAND]\n"
        "       kavelin-cli --help | --version\n\n";
    text += WrapParagraphs(
        "Runs one Kavelin engine without the windows. Standard output carries the result and "
        "the trace lines of the run; every error, warning and refusal goes to standard error "
        "as one line \"kavelin-cli: SUBCOMMAND: message\".");
    text += "\n";
    text += kOptionsHelp;
    text += "\nSubcommands:\n";
    size_t column = 0;
    for (const TSubcommand* s : Sorted()) column = std::max(column, s->fName.size() + 4);
    // One line each: a summary too long for its line is cut after a word (the
    // subcommand's own help has it whole).
    for (const TSubcommand* s : Sorted()) {
        std::string line = "  " + s->fName;
        line.resize(column, ' ');
        std::string summary = s->fSummary;
        const std::string json = s->fJson ? " (json)" : "";
        if (line.size() + summary.size() + json.size() > kColumns) {
            const size_t room = kColumns - line.size() - json.size() - 4;
            const size_t space = summary.rfind(' ', room);
            summary = summary.substr(0, space == std::string::npos ? room : space) + " ...";
        }
        text += line + summary + json + "\n";
    }
    text += "\n" + WrapParagraphs(kExitStatusHelp);
    text += WrapParagraphs(
        "\nEnvironment: KAVELIN_SEED fixes the random seed as --seed does. "
        "KAVELIN_RECORD_FILE, the sound file of the program's capture page, is not read: "
        "capture writes the FILE it is given. See kavelin-cli(1).");
    std::fputs(text.c_str(), stdout);
}

void PrintSubcommandHelp(const TSubcommand& s) {
    // One usage line for each form that " | " parts.
    std::string text;
    size_t k = 0;
    do {
        size_t bar = s.fUsage.find(" | ", k);
        if (bar == std::string::npos) bar = s.fUsage.size();
        // An option in brackets stays on one line.
        std::string form = s.fUsage.substr(k, bar - k);
        int depth = 0;
        for (char& c : form) {
            depth += c == '[' ? 1 : c == ']' ? -1 : 0;
            if (c == ' ' && depth > 0) c = '\x01';
        }
        std::string lines =
            Wrap(s.fName + (form.empty() ? "" : " " + form),
                 k == 0 ? "Usage: kavelin-cli [OPTIONS] " : "       kavelin-cli [OPTIONS] ",
                 "           ");
        std::replace(lines.begin(), lines.end(), '\x01', ' ');
        text += lines;
        k = bar + 3;
    } while (k < s.fUsage.size());
    std::string summary = s.fSummary + ".";
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    text += "\n" + WrapParagraphs(summary);
    if (!s.fHelp.empty()) text += "\n" + WrapParagraphs(s.fHelp);
    if (s.fJson)
        text += "\n" + WrapParagraphs(
                           "--json (here or before the subcommand) writes the result as one JSON "
                           "document on standard output, with the same figures as the text.");
    if (s.fHelp.find("Exit status:") == std::string::npos)
        text += "\n" + WrapParagraphs(kExitStatusHelp);
    std::fputs(text.c_str(), stdout);
}

const TSubcommand* Find(const std::string& name) {
    for (const auto& s : Subcommands())
        if (s.fName == name) return &s;
    return nullptr;
}

// The sections that the subcommand timed, as the profiling window lists them.
void PrintProfile() {
    if (gJson) {
        TJsonArray sections;
        for (const TSectionTimes& s : ChronoTable().Sections())
            sections.Append(TJsonObject()
                                .Set("section", AnsiToUtf8(s.fSection))
                                .Set("calls", static_cast<int64_t>(s.fCalls))
                                .Set("total_ms", s.TotalMs())
                                .Set("mean_ms", s.MeanMs())
                                .Set("max_ms", s.GreatestMs()));
        PrintJson(TJsonObject().Set("profile", sections), stderr);
        return;
    }
    std::fprintf(stderr, "section\tcalls\ttotal_ms\tmean_ms\tmax_ms\n");
    for (const TSectionTimes& s : ChronoTable().Sections())
        std::fprintf(stderr, "%s\t%s\t%s\t%s\t%s\n", AnsiToUtf8(s.fSection).c_str(),
                     IntToStr(s.fCalls).c_str(), FloatToStr(s.TotalMs()).c_str(),
                     FloatToStr(s.MeanMs()).c_str(), FloatToStr(s.GreatestMs()).c_str());
}

bool ParseSeed(const std::string& text, uint64_t& seed) {
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::CLike);
    if (parsed) seed = *parsed;
    return parsed.has_value();
}

int ToolUsageError(const std::string& message) {
    ReportError("", message + " (see kavelin-cli --help)");
    return kExitUsage;
}

}  // namespace

TSubcommandRegistrar::TSubcommandRegistrar(TSubcommand subcommand) {
    Registry().push_back(std::move(subcommand));
}

const std::vector<TSubcommand>& Subcommands() {
    return Registry();
}

const std::string& CurrentSubcommand() {
    return Current();
}

void ReportError(const std::string& command, const std::string& message) {
    std::string line = "kavelin-cli: ";
    if (!command.empty()) line += command + ": ";
    for (const char c : message) line += c == '\n' || c == '\r' ? ' ' : c;
    line += '\n';
    ClearProgressLine();
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

int UsageError(const std::string& subcommand, const std::string& message) {
    ReportError(subcommand, message + " (see kavelin-cli help " + subcommand + ")");
    return kExitUsage;
}

int Failure(const std::string& subcommand, const std::string& message) {
    ReportError(subcommand, message);
    return kExitFailed;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto end = std::remove(args.begin(), args.end(), flag);
    const bool found = end != args.end();
    args.erase(end, args.end());
    return found;
}

bool RequireFile(const std::string& subcommand, const std::string& file, const std::string& what) {
    // An empty name is the engine's to refuse, in its own words.
    if (file.empty()) return true;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status))
        ReportError(subcommand, what + " '" + file + "' does not exist");
    else if (std::filesystem::is_directory(status))
        ReportError(subcommand, what + " '" + file + "' is a folder");
    else
        return true;
    return false;
}

bool RequireExtension(const std::string& subcommand, const std::string& option,
                      const std::string& file, const std::string& extension) {
    std::string actual = std::filesystem::path(file).extension().string();
    std::transform(actual.begin(), actual.end(), actual.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (actual == extension) return true;
    UsageError(subcommand, option + " names the file written, which must end in " + extension +
                               ", not '" + file + "'");
    return false;
}

bool JsonOutput() {
    return gJson;
}

void SetJsonOutput(bool json) {
    gJson = json;
}

std::vector<std::string> TraceLines() {
    return gTrace ? gTrace->Lines() : std::vector<std::string>{};
}

void DropTrace() {
    if (gTrace) gTrace->Clear();
}

int main(int argc, char** argv) {
    InitDecimalSeparatorFromLocale();
    InitFixedSeedFromEnvironment();
    InstallModulePictureReader();

    bool profile = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return kExitDone;
        }
        if (arg == "--version") {
            std::printf("kavelin-cli %s\n", KAVELIN_VERSION);
            return kExitDone;
        }
        if (arg == "--profile") {
            profile = true;
        } else if (arg == "--json") {
            gJson = true;
        } else if (arg == "--progress") {
            SetProgressForced(true);
        } else if (arg == "--seed") {
            uint64_t seed = 0;
            if (i + 1 >= argc || !ParseSeed(argv[i + 1], seed))
                return ToolUsageError("--seed needs a whole number from 0 to 18446744073709551615");
            SetFixedSeed(seed);
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return ToolUsageError("unknown option '" + arg + "'");
        } else {
            break;
        }
    }
    if (i >= argc) return ToolUsageError("no subcommand given");
    std::string name = argv[i];
    std::vector<std::string> args;
    for (int j = i + 1; j < argc; ++j) args.emplace_back(argv[j]);
    if (name == "help") {
        if (args.empty()) {
            PrintHelp();
            return kExitDone;
        }
        if (args.size() > 1) return ToolUsageError("help expects one SUBCOMMAND at most");
        const TSubcommand* asked = Find(args[0]);
        if (!asked) return ToolUsageError("unknown subcommand '" + args[0] + "'");
        PrintSubcommandHelp(*asked);
        return kExitDone;
    }
    const TSubcommand* subcommand = Find(name);
    if (!subcommand) return ToolUsageError("unknown subcommand '" + name + "'");
    // --help or -h anywhere among the arguments ("sat solve --help" as well as
    // "sat --help"); a text argument cannot be either.
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        PrintSubcommandHelp(*subcommand);
        return kExitDone;
    }
    Current() = name;
    if (subcommand->fJson && TakeFlag(args, "--json")) gJson = true;
    if (gJson && !subcommand->fJson) return UsageError(name, "--json is not available for " + name);

    // An installed tool started away from any Data/ folder reads the user's
    // data folder; its file arguments stay relative to the working directory.
    std::string problem;
    SetDataHome(InstalledWorkFolder(UserDataFolder(), problem));
    if (!problem.empty()) ReportError("", problem);

    // The tool's trace: the same bounded line list as the trace window.
    TToolTrace trace;
    gTrace = &trace;
    TConsoleMessageBox box;
    SetMessageBox(&box);
    Messenger.AttachTrace(&trace);
    int status = kExitDone;
    try {
        status = subcommand->fRun(args);
    } catch (const std::bad_alloc&) {
        box.Show(OutOfMemoryMessage("running kavelin-cli " + name));
        status = kExitFailed;
    } catch (const std::exception& e) {
        box.Show(e.what());
        status = kExitFailed;
    }
    Messenger.AttachTrace(nullptr);
    SetMessageBox(nullptr);
    gTrace = nullptr;
    for (const std::string& line : trace.Lines()) {
        const std::string text = AnsiToUtf8(line) + "\n";
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fflush(stdout);
    if (profile) PrintProfile();
    if (StopAsked()) return kExitInterrupted;
    if (status == kExitDone && box.fShown) status = kExitFailed;
    return status;
}
