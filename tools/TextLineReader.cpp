#include "tools/TextLineReader.h"

#include "tools/SourceError.h"

#include <cerrno>
#include <cstring>

namespace pcsdb {

namespace {

// Far beyond any CMS line; guards memory against a file that has no line ends.
constexpr std::size_t maxLineLength = 64 * 1024;
constexpr std::size_t chunkSize = 256 * 1024;

} // namespace

TextLineReader::TextLineReader(std::filesystem::path file)
    : m_file(std::move(file))
{
    std::error_code ec;
    if (std::filesystem::is_directory(m_file, ec))
        throw SourceError(m_file, "is a folder, not a file");
    m_stream.open(m_file, std::ios::binary);
    if (!m_stream)
        throw SourceError(m_file, std::string("cannot open: ") + std::strerror(errno));
}

bool TextLineReader::next(std::string &line)
{
    line.clear();
    for (;;) {
        if (m_pos == m_buffer.size() && !refill())
            break;
        const char *begin = m_buffer.data() + m_pos;
        const std::size_t available = m_buffer.size() - m_pos;
        const void *newline = std::memchr(begin, '\n', available);
        const std::size_t take = newline ? static_cast<std::size_t>(static_cast<const char *>(newline) - begin) : available;
        if (line.size() + take > maxLineLength) {
            ++m_lineNumber;
            fail("line longer than " + std::to_string(maxLineLength) + " characters");
        }
        line.append(begin, take);
        m_pos += take;
        if (newline) {
            ++m_pos;
            return finishLine(line);
        }
    }
    if (line.empty())
        return false;
    return finishLine(line);  // the last line had no line end
}

bool TextLineReader::refill()
{
    m_buffer.resize(chunkSize);
    m_stream.read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    if (m_stream.bad())
        throw SourceError(m_file, "read error");
    m_buffer.resize(static_cast<std::size_t>(m_stream.gcount()));
    m_pos = 0;
    return !m_buffer.empty();
}

bool TextLineReader::finishLine(std::string &line)
{
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    for (unsigned char ch : line) {
        if (ch < 0x20 || ch == 0x7f)
            fail("control character (code " + std::to_string(ch) + ") in the line");
    }
    return true;
}

void TextLineReader::fail(const std::string &what) const
{
    throw SourceError(m_file, m_lineNumber, what);
}

} // namespace pcsdb
