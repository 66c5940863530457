#include "tools/Icd9Titles.h"

#include "tools/Icd9Code.h"
#include "tools/SourceError.h"
#include "tools/TextFields.h"
#include "tools/TextLineReader.h"

#include <QString>

namespace pcsdb {

Icd9Titles Icd9Titles::read(const std::filesystem::path &file)
{
    Icd9Titles titles;
    TextLineReader reader(file);
    std::string line;
    while (reader.next(line)) {
        const std::string_view text(line);
        const std::size_t blank = text.find(' ');
        const std::string_view code = text.substr(0, blank);
        if (!isIcd9ProcedureCode(code))
            reader.fail("malformed line: '" + std::string(code) + "' is not an ICD-9-CM procedure code (3 or 4 digits)");
        const std::size_t titleStart = blank == std::string_view::npos ? text.size() : text.find_first_not_of(' ', blank);
        const std::string_view title = titleStart == std::string_view::npos
                                           ? std::string_view()
                                           : withoutTrailingBlanks(text.substr(titleStart));
        if (title.empty())
            reader.fail("malformed line: code " + std::string(code) + " has no title");
        if (title.size() > maxTextColumnLength)
            reader.fail("title longer than " + std::to_string(maxTextColumnLength) + " characters");
        const auto [entry, inserted] = titles.m_titles.emplace(std::string(code), Entry{QString::fromLatin1(title).toStdString(), reader.lineNumber()});
        if (!inserted)
            reader.fail("code " + std::string(code) + " already has a title on line " + std::to_string(entry->second.line));
    }
    if (titles.m_titles.empty())
        throw SourceError(file, "holds no titles");
    return titles;
}

const std::string *Icd9Titles::titleOf(const std::string &icd9Code) const
{
    const auto found = m_titles.find(icd9Code);
    return found == m_titles.end() ? nullptr : &found->second.title;
}

} // namespace pcsdb
