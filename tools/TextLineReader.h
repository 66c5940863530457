#pragma once
// Reads a CMS text file line by line, keeping count of line numbers for error
// messages. Accepts LF and CRLF line ends; refuses control characters, which
// no CMS text file holds and which would only corrupt the titles downstream.

#include <filesystem>
#include <fstream>
#include <string>

namespace pcsdb {

class TextLineReader {
public:
    explicit TextLineReader(std::filesystem::path file);  // throws SourceError when unreadable

    // The next line without its line end; false at the end of the file.
    bool next(std::string &line);
    long long lineNumber() const { return m_lineNumber; }

    [[noreturn]] void fail(const std::string &what) const;  // throws SourceError at the current line

private:
    bool refill();
    bool finishLine(std::string &line);

    std::filesystem::path m_file;
    std::ifstream m_stream;
    std::string m_buffer;
    std::size_t m_pos = 0;
    long long m_lineNumber = 0;
};

} // namespace pcsdb
