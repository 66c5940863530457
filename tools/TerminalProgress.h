#pragma once
// Progress on a terminal: one line, rewritten in place as the work advances.

#include "tools/Progress.h"

#include <cstdio>
#include <string>

namespace pcsdb {

class TerminalProgress final : public Progress {
public:
    explicit TerminalProgress(std::FILE *terminal);
    ~TerminalProgress() override;

    void step(std::string_view what) override;
    void advance(std::size_t done, std::size_t total) override;
    void finish() override;

    static bool isTerminal(std::FILE *stream);

private:
    void show(const std::string &text);

    std::FILE *m_terminal;
    std::string m_step;
    int m_percent = -1;
    std::size_t m_shownLength = 0;
};

} // namespace pcsdb
