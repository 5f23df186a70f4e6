#include "solvers/Dimacs_Unit.h"

#include <cstdint>
#include <optional>

#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

bool Refuse(const std::string& source, int line, const std::string& what) {
    Messenger.Error("Dimacs_Unit:ReadDimacs:" + source +
                    (line > 0 ? " line " + IntToStr(line) + ": " : ": ") + what);
    return false;
}

}  // namespace

bool ReadDimacs(const TLines& lines, const std::string& source, TSatProblem& problem) {
    TSatProblem read;
    int headerLine = 0;
    int64_t declaredClauses = 0;
    TClause clause;
    bool clauseOpen = false;
    for (int index = 0; index < lines.Count(); ++index) {
        const int lineNumber = index + 1;
        const std::vector<std::string> tokens = Tokens(lines.Get(index));
        if (tokens.empty() || tokens[0][0] == 'c') continue;
        if (tokens[0] == "%") break;
        if (tokens[0] == "p") {
            if (headerLine > 0)
                return Refuse(source, lineNumber,
                              "second header, the first is on line " + IntToStr(headerLine));
            const std::optional<int32_t> variables =
                tokens.size() == 4 ? ParseInt32(tokens[2]) : std::nullopt;
            const std::optional<int32_t> clauses =
                tokens.size() == 4 ? ParseInt32(tokens[3]) : std::nullopt;
            if (tokens.size() != 4 || tokens[1] != "cnf" || !variables || !clauses ||
                *variables < 0 || *clauses < 0)
                return Refuse(source, lineNumber,
                              "the header must read \"p cnf VARIABLES CLAUSES\"");
            if (*variables > kMaxSatVariables)
                return Refuse(
                    source, lineNumber,
                    IntToStr(*variables) + " variables, more than " + IntToStr(kMaxSatVariables));
            headerLine = lineNumber;
            read.VariableCount = *variables;
            declaredClauses = *clauses;
            continue;
        }
        if (headerLine == 0)
            return Refuse(source, lineNumber, "clause before the \"p cnf\" header");
        for (const std::string& token : tokens) {
            const std::optional<int32_t> literal = ParseInt32(token);
            if (!literal)
                return Refuse(source, lineNumber,
                              "\"" + TStringManager::Printable(token) + "\" is not a literal");
            if (*literal == 0) {
                read.Clauses.push_back(std::move(clause));
                clause.clear();
                clauseOpen = false;
                continue;
            }
            if (!LiteralFits(*literal, read.VariableCount))
                return Refuse(source, lineNumber,
                              "literal " + token + " beyond the " + IntToStr(read.VariableCount) +
                                  " variables of the header");
            clause.push_back(*literal);
            clauseOpen = true;
        }
    }
    if (headerLine == 0) return Refuse(source, 0, "no \"p cnf\" header");
    if (clauseOpen) return Refuse(source, lines.Count(), "the last clause is not ended by 0");
    if (static_cast<int64_t>(read.Clauses.size()) != declaredClauses)
        return Refuse(source, headerLine,
                      "the header declares " + IntToStr(declaredClauses) +
                          " clauses, the file holds " +
                          IntToStr(static_cast<int64_t>(read.Clauses.size())));
    problem = std::move(read);
    return true;
}

std::vector<std::string> DimacsLines(const TSatProblem& problem) {
    std::vector<std::string> lines{"p cnf " + IntToStr(problem.VariableCount) + " " +
                                   IntToStr(static_cast<int64_t>(problem.Clauses.size()))};
    for (const TClause& clause : problem.Clauses) {
        std::string line;
        for (const int32_t literal : clause) line += IntToStr(literal) + " ";
        lines.push_back(line + "0");
    }
    return lines;
}

bool IsDimacsFileName(const std::string& fileName) {
    return fileName.size() >= 4 &&
           TStringManager::LowerCase(fileName.substr(fileName.size() - 4)) == ".cnf";
}
