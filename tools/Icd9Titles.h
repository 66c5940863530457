#pragma once
// Reads the ICD-9-CM procedure titles (CMS32_DESC_LONG_SG.txt and its kin): one
// line per code, the code without decimal point, blanks, then the long title.

#include <filesystem>
#include <string>
#include <unordered_map>

namespace pcsdb {

class Icd9Titles {
public:
    // Throws SourceError on a malformed line or a code given twice.
    static Icd9Titles read(const std::filesystem::path &file);

    // The title in UTF-8, or nullptr when the file has none for the code.
    const std::string *titleOf(const std::string &icd9Code) const;

private:
    struct Entry {
        std::string title;
        long long line = 0;
    };
    std::unordered_map<std::string, Entry> m_titles;
};

} // namespace pcsdb
