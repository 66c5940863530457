#pragma once
// What the builder tells about its progress while it works.

#include <cstddef>
#include <string_view>

namespace pcsdb {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void step(std::string_view what) = 0;              // a new step begins
    virtual void advance(std::size_t done, std::size_t total) = 0;  // within the current step
    virtual void finish() = 0;                                  // all steps are done (or abandoned)
};

class SilentProgress final : public Progress {
public:
    void step(std::string_view) override {}
    void advance(std::size_t, std::size_t) override {}
    void finish() override {}
};

} // namespace pcsdb
