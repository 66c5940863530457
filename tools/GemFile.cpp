#include "tools/GemFile.h"

#include "tools/Icd9Code.h"
#include "tools/PcsCode.h"
#include "tools/SourceError.h"
#include "tools/TextFields.h"
#include "tools/TextLineReader.h"

namespace pcsdb {

namespace {

// 0-based columns: code 0-6, blank, ICD-9 code 8-12 (blank-padded), blank, five flag digits 14-18.
constexpr std::size_t icd9Column = 8;
constexpr std::size_t icd9Width = 5;
constexpr std::size_t flagsColumn = 14;
constexpr std::size_t flagCount = 5;
constexpr std::size_t lineLength = flagsColumn + flagCount;

std::string icd9CodeOf(const TextLineReader &reader, std::string_view line)
{
    const std::string_view field = line.substr(icd9Column, icd9Width);
    const std::string_view code = withoutTrailingBlanks(field);
    if (code != gemNoEquivalent && !isIcd9ProcedureCode(code))
        reader.fail("malformed line: '" + std::string(field) + "' is neither an ICD-9-CM procedure code nor "
                    + std::string(gemNoEquivalent));
    return std::string(code);
}

void checkLayout(const TextLineReader &reader, std::string_view line)
{
    if (line.size() != lineLength)
        reader.fail("malformed line: " + std::to_string(line.size()) + " characters where the GEM layout has "
                    + std::to_string(lineLength));
    if (!isPcsCode(line.substr(0, pcsCodeLength)))
        reader.fail("malformed line: '" + std::string(line.substr(0, pcsCodeLength))
                    + "' is not a seven-character ICD-10-PCS code");
    if (line[pcsCodeLength] != ' ' || line[flagsColumn - 1] != ' ')
        reader.fail("malformed line: the fields must be separated by blanks");
    // approximate, no map, combination, scenario, choice list; the last two count, so any digit
    if (!isAllDigits(line.substr(flagsColumn)))
        reader.fail("malformed line: the flags must be five digits");
}

} // namespace

GemFile GemFile::read(const std::filesystem::path &file)
{
    GemFile gem;
    TextLineReader reader(file);
    std::string line;
    while (reader.next(line)) {
        checkLayout(reader, line);
        std::string pcsCode = line.substr(0, pcsCodeLength);
        std::string icd9 = icd9CodeOf(reader, line);
        auto &mappings = gem.m_mappings[pcsCode];
        bool repeated = false;
        for (const GemMapping &earlier : mappings) {
            if ((earlier.icd9Code == gemNoEquivalent) != (icd9 == gemNoEquivalent))
                reader.fail(pcsCode + " is mapped both to " + std::string(gemNoEquivalent)
                            + " and to an ICD-9-CM code (see line " + std::to_string(earlier.line) + ")");
            repeated = repeated || earlier.icd9Code == icd9;
        }
        // A combination entry can name the same pair again under other flags;
        // the pair itself counts once.
        if (!repeated)
            mappings.push_back({std::move(icd9), reader.lineNumber()});
    }
    if (gem.m_mappings.empty())
        throw SourceError(file, "holds no mappings");
    return gem;
}

const std::vector<GemMapping> *GemFile::mappingsOf(const std::string &pcsCode) const
{
    const auto found = m_mappings.find(pcsCode);
    return found == m_mappings.end() ? nullptr : &found->second;
}

} // namespace pcsdb
