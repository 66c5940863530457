#include "tools/OrderFile.h"

#include "tools/PcsCode.h"
#include "tools/SourceError.h"
#include "tools/TextFields.h"
#include "tools/TextLineReader.h"

#include <QString>

#include <cstdio>
#include <unordered_map>

namespace pcsdb {

namespace {

// 0-based columns of the fixed-width layout.
constexpr std::size_t numberWidth = 5;
constexpr std::size_t codeColumn = 6;
constexpr std::size_t flagColumn = 14;
constexpr std::size_t shortTitleColumn = 16;
constexpr std::size_t longTitleColumn = 77;
constexpr std::size_t headerCodeLength = 3;

std::string zeroFilled(long long number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%05lld", number);
    return text;
}

void requireBlank(const TextLineReader &reader, const std::string &line, std::size_t column)
{
    if (line[column] != ' ')
        reader.fail("malformed line: column " + std::to_string(column + 1) + " must be blank");
}

// Checks the code field for the line's kind and returns the code.
std::string codeOf(const TextLineReader &reader, const std::string &line, bool validCode)
{
    const std::string_view field = std::string_view(line).substr(codeColumn, pcsCodeLength);
    const std::string_view code = withoutTrailingBlanks(field);
    const std::size_t expected = validCode ? pcsCodeLength : headerCodeLength;
    if (!isPcsCode(code, expected)) {
        reader.fail("malformed line: '" + std::string(field) + "' is not a " + std::to_string(expected)
                    + "-character ICD-10-PCS " + (validCode ? "code" : "table header"));
    }
    return std::string(code);
}

} // namespace

std::vector<OrderEntry> readOrderFile(const std::filesystem::path &file)
{
    TextLineReader reader(file);
    std::vector<OrderEntry> entries;
    std::unordered_map<std::string, long long> lineOfCode;
    std::string line;
    long long expectedNumber = 1;
    while (reader.next(line)) {
        if (line.size() <= longTitleColumn)
            reader.fail("malformed line: too short for the order file layout (" + std::to_string(line.size())
                        + " characters, the long title starts at column " + std::to_string(longTitleColumn + 1) + ")");
        const std::string_view number = std::string_view(line).substr(0, numberWidth);
        if (!isAllDigits(number))
            reader.fail("malformed line: order number '" + std::string(number) + "' is not 5 digits");
        if (number != zeroFilled(expectedNumber))
            reader.fail("order number " + std::string(number) + " where " + zeroFilled(expectedNumber)
                        + " was expected (numbers run consecutively from 00001)");
        ++expectedNumber;
        requireBlank(reader, line, numberWidth);
        requireBlank(reader, line, flagColumn - 1);
        requireBlank(reader, line, flagColumn + 1);
        requireBlank(reader, line, longTitleColumn - 1);
        const char flag = line[flagColumn];
        if (flag != '0' && flag != '1')
            reader.fail(std::string("malformed line: flag '") + flag + "' is neither 0 (header) nor 1 (valid code)");
        const bool validCode = flag == '1';
        std::string code = codeOf(reader, line, validCode);
        const std::string_view shortTitle = std::string_view(line).substr(shortTitleColumn, longTitleColumn - 1 - shortTitleColumn);
        const std::string_view longTitle = withoutTrailingBlanks(std::string_view(line).substr(longTitleColumn));
        if (withoutTrailingBlanks(shortTitle).empty() || longTitle.empty() || longTitle.front() == ' ')
            reader.fail("malformed line: the short or the long title is missing");
        if (longTitle.size() > maxTextColumnLength)
            reader.fail("long title longer than " + std::to_string(maxTextColumnLength) + " characters");
        if (!validCode)
            continue;
        const auto [previous, inserted] = lineOfCode.emplace(code, reader.lineNumber());
        if (!inserted)
            reader.fail("code " + code + " already stands on line " + std::to_string(previous->second));
        entries.push_back({std::move(code), QString::fromLatin1(longTitle).toStdString(), reader.lineNumber()});
    }
    if (entries.empty())
        throw SourceError(file, "holds no valid codes (no line with flag 1)");
    return entries;
}

} // namespace pcsdb
