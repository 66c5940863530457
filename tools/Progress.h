#pragma once
// What the builder tells about its progress while it works: on a terminal, one
// line rewritten in place as the work advances; anywhere else, nothing.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace pcsdb {

class Progress {
public:
    // Silent when terminal is null or not a terminal.
    explicit Progress(std::FILE *terminal = nullptr);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    void step(std::string_view what);                   // a new step begins
    void advance(std::size_t done, std::size_t total);  // within the current step
    void finish();                                      // all steps are done (or abandoned)

private:
    void show(const std::string &text);

    std::FILE *m_terminal;
    std::string m_step;
    int m_percent = -1;
    std::size_t m_shownLength = 0;
};

} // namespace pcsdb
