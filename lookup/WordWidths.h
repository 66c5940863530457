#pragma once
// Widths of the words of one font, found by a hash the caller computes while it
// scans a row for its spaces. Result rows are built from a few thousand words;
// a list of tens of thousands of rows is measured in full every time it is
// shown, so a word's width must cost a probe or two, not a string comparison
// through a general-purpose map.

#include <QStringView>
#include <QtGlobal>

#include <cstdint>
#include <string>
#include <vector>

namespace lookup {

class WordWidths {
public:
    // FNV-1a over the word's UTF-16 code units.
    static constexpr std::uint64_t HashStart = 14695981039346656037ull;
    static std::uint64_t hashStep(std::uint64_t hash, char16_t c) { return (hash ^ c) * 1099511628211ull; }

    // The width kept for the word, or a negative value when there is none.
    qreal find(QStringView word, std::uint64_t hash) const;
    // Keeps a width for a word that is not kept yet; beyond MaxWords words
    // everything kept is dropped first, so unrelated texts cannot grow it
    // without end.
    void insert(QStringView word, std::uint64_t hash, qreal width);
    void clear();
    std::size_t size() const { return used_; }

    static constexpr std::size_t MaxWords = 50000;

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t offset = 0; // into characters_
        std::uint32_t length = 0; // 0: empty slot (words are never empty)
        qreal width = 0;
    };
    std::size_t slotOf(std::uint64_t hash) const;
    void grow();

    std::vector<Slot> slots_; // a power of two in size, at most half used
    std::u16string characters_;
    std::size_t used_ = 0;
    int shift_ = 64;
};

} // namespace lookup
