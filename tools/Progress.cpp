#include "tools/Progress.h"

#include <unistd.h>

namespace pcsdb {

Progress::Progress(std::FILE *terminal)
    : m_terminal(terminal && isatty(fileno(terminal)) == 1 ? terminal : nullptr)
{
}

Progress::~Progress()
{
    finish();
}

void Progress::step(std::string_view what)
{
    m_step = what;
    m_percent = -1;
    show(m_step + "...");
}

void Progress::advance(std::size_t done, std::size_t total)
{
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    if (percent == m_percent)
        return;  // redrawing only on change keeps the terminal cheap for 100,000 rows
    m_percent = percent;
    show(m_step + "... " + std::to_string(percent) + "%");
}

void Progress::finish()
{
    if (m_shownLength == 0)
        return;
    // Clear the line so that what follows (an error, the shell prompt) starts clean.
    std::fprintf(m_terminal, "\r%*s\r", static_cast<int>(m_shownLength), "");
    std::fflush(m_terminal);
    m_shownLength = 0;
}

void Progress::show(const std::string &text)
{
    if (!m_terminal)
        return;
    const int padding = m_shownLength > text.size() ? static_cast<int>(m_shownLength - text.size()) : 0;
    std::fprintf(m_terminal, "\r%s%*s", text.c_str(), padding, "");
    std::fflush(m_terminal);
    m_shownLength = text.size();
}

} // namespace pcsdb
