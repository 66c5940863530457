#pragma once
// The ICD-10-PCS tables: for every table (the code's first three characters)
// the labels of those characters, and rows that give the labels of characters
// 4 to 7. A code's meaning is found by its table and the one row holding it.

#include "tools/PcsCode.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pcsdb {

class PcsTables {
public:
    static constexpr int tableAxes = 3;
    static constexpr int rowAxes = pcsCodeLength - tableAxes;
    // Longest section, body system and operation label, and longest axis title,
    // the database has room for.
    static constexpr std::size_t maxTableLabelLength = 100;
    static constexpr std::size_t maxAxisTitleLength = 50;

    using LabelId = std::int32_t;
    // The labels of one character position, by character; noLabel where the position
    // does not allow the character.
    struct Axis {
        static constexpr LabelId noLabel = -1;
        Axis() { labels.fill(noLabel); }
        void add(char c, LabelId label);  // c must be of the alphabet
        LabelId labelOf(char c) const;
        std::array<LabelId, pcsAlphabetSize> labels;
        std::uint64_t characters = 0;  // bit i set when the character of index i has a label
        std::string inFileOrder;        // the characters as the file lists them
        LabelId title = noLabel;        // the axis's <title>, noLabel when it has none
        int fileIndex = 0;              // where the axis stands among its row's axes
    };
    struct Row {
        std::array<Axis, rowAxes> axes;
        long long line = 0;
    };
    struct Table {
        std::array<LabelId, tableAxes> labels{};
        std::vector<Row> rows;
        std::string definition;  // of the operation (third character), empty when the file gives none
        long long line = 0;
    };
    using Meaning = std::array<std::string_view, pcsCodeLength>;

    // What the file says of itself: <version> (the fiscal year) and <title>.
    std::string version;
    std::string title;

    LabelId addLabel(std::string text);
    void addTable(const std::string &prefix, Table table);
    const Table *tableOf(std::string_view prefix) const;
    std::size_t tableCount() const { return m_tables.size(); }
    // The tables' first three characters in the order the file gives them.
    const std::vector<std::string> &prefixesInFileOrder() const { return m_fileOrder; }
    const std::string &label(LabelId id) const { return m_labels[static_cast<std::size_t>(id)]; }

    // The label of each of the code's seven characters; nullopt when no row holds
    // the code. The views live as long as these tables.
    std::optional<Meaning> meaningOf(std::string_view code) const;

    // Characters 4 to 7 of a code both rows hold, or nullopt when they share none.
    static std::optional<std::string> sharedCharacters(const Row &a, const Row &b);

private:
    std::deque<std::string> m_labels;  // a deque keeps handed-out views valid as it grows
    std::unordered_map<std::string, Table> m_tables;
    std::vector<std::string> m_fileOrder;
};

} // namespace pcsdb
