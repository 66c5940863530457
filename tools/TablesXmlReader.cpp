#include "tools/TablesXmlReader.h"

#include "tools/SourceError.h"
#include "tools/TextFields.h"

#include <QFile>
#include <QXmlStreamReader>

#include <utility>

namespace pcsdb {

namespace {

// The largest official table has fewer than 200 rows; the bound keeps the
// pairwise check of a table's rows quick whatever the file holds.
constexpr std::size_t maxRowsPerTable = 4096;

class TablesXmlParser {
public:
    TablesXmlParser(const std::filesystem::path &file, QFile &device)
        : m_file(file), m_xml(&device)
    {
    }

    PcsTables parse()
    {
        if (!m_xml.readNextStartElement()) {
            failOnXmlError();
            fail("holds no root element");
        }
        if (m_xml.name() != QLatin1String("ICD10PCS.tabular"))
            fail("root element is <" + m_xml.name().toString().toStdString() + ">, not <ICD10PCS.tabular>");
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("pcsTable"))
                readTable();
            else if (m_xml.name() == QLatin1String("version"))
                m_tables.version = readText();
            else if (m_xml.name() == QLatin1String("title"))
                m_tables.title = readText();
            else
                m_xml.skipCurrentElement();
        }
        failOnXmlError();
        if (m_tables.tableCount() == 0)
            fail("holds no pcsTable");
        return std::move(m_tables);
    }

private:
    std::string readText()
    {
        return m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
    }

    using Labels = std::vector<std::pair<char, PcsTables::LabelId>>;
    struct AxisContent {
        Labels labels;
        PcsTables::LabelId title = PcsTables::Axis::noLabel;
        std::string definition;
    };

    [[noreturn]] void fail(const std::string &what, long long line = -1) const
    {
        throw SourceError(m_file, line < 0 ? m_xml.lineNumber() : line, what);
    }

    // readNextStartElement() also returns false on an error; a structural
    // complaint must not hide the XML fault behind it.
    void failOnXmlError() const
    {
        if (m_xml.hasError())
            fail("XML error: " + m_xml.errorString().toStdString());
    }

    int intAttribute(const char *name, bool &present) const
    {
        const QStringView text = m_xml.attributes().value(QLatin1String(name));
        present = !text.isNull();
        if (!present)
            return 0;
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < 0)
            fail(std::string("attribute ") + name + "=\"" + text.toString().toStdString() + "\" is not a number");
        return value;
    }

    void readTable()
    {
        const long long line = m_xml.lineNumber();
        PcsTables::Table table;
        table.line = line;
        std::array<bool, PcsTables::tableAxes> seen{};
        std::string prefix(PcsTables::tableAxes, ' ');
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("axis")) {
                const int position = axisPosition(1, PcsTables::tableAxes, "pcsTable");
                const std::size_t index = static_cast<std::size_t>(position - 1);
                if (std::exchange(seen[index], true))
                    fail("character position " + std::to_string(position) + " given twice in the pcsTable");
                const long long axisLine = m_xml.lineNumber();
                AxisContent axis = readAxis(position);
                const Labels &labels = axis.labels;
                if (labels.size() != 1)
                    fail("character position " + std::to_string(position) + " of a pcsTable must have exactly one label",
                         axisLine);
                if (m_tables.label(labels.front().second).size() > PcsTables::maxTableLabelLength)
                    fail("label of character position " + std::to_string(position) + " is longer than "
                             + std::to_string(PcsTables::maxTableLabelLength) + " characters",
                         axisLine);
                prefix[index] = labels.front().first;
                table.labels[index] = labels.front().second;
                if (position == PcsTables::tableAxes)
                    table.definition = std::move(axis.definition);
            } else if (m_xml.name() == QLatin1String("pcsRow")) {
                if (table.rows.size() == maxRowsPerTable)
                    fail("pcsTable has more than " + std::to_string(maxRowsPerTable) + " pcsRow elements", line);
                table.rows.push_back(readRow());
            } else {
                m_xml.skipCurrentElement();
            }
        }
        failOnXmlError();
        for (std::size_t i = 0; i < seen.size(); ++i) {
            if (!seen[i])
                fail("pcsTable lacks character position " + std::to_string(i + 1), line);
        }
        if (table.rows.empty())
            fail("pcsTable " + prefix + " has no pcsRow", line);
        if (const PcsTables::Table *earlier = m_tables.tableOf(prefix))
            fail("pcsTable " + prefix + " is already given on line " + std::to_string(earlier->line), line);
        checkRowsDisjoint(prefix, table.rows);
        m_tables.addTable(prefix, std::move(table));
    }

    void checkRowsDisjoint(const std::string &prefix, const std::vector<PcsTables::Row> &rows) const
    {
        for (std::size_t later = 1; later < rows.size(); ++later) {
            for (std::size_t earlier = 0; earlier < later; ++earlier) {
                if (const auto shared = PcsTables::sharedCharacters(rows[earlier], rows[later]))
                    fail("pcsRow holds code " + prefix + *shared + ", which the pcsRow on line "
                             + std::to_string(rows[earlier].line) + " holds already",
                         rows[later].line);
            }
        }
    }

    PcsTables::Row readRow()
    {
        PcsTables::Row row;
        row.line = m_xml.lineNumber();
        bool declared = false;
        const int declaredCodes = intAttribute("codes", declared);
        std::array<bool, PcsTables::rowAxes> seen{};
        int axesRead = 0;
        long long codes = 1;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("axis")) {
                m_xml.skipCurrentElement();
                continue;
            }
            const int position = axisPosition(PcsTables::tableAxes + 1, pcsCodeLength, "pcsRow");
            const std::size_t index = static_cast<std::size_t>(position - PcsTables::tableAxes - 1);
            if (std::exchange(seen[index], true))
                fail("character position " + std::to_string(position) + " given twice in the pcsRow");
            const long long axisLine = m_xml.lineNumber();
            const AxisContent axis = readAxis(position);
            const Labels &labels = axis.labels;
            if (labels.empty())
                fail("character position " + std::to_string(position) + " of the pcsRow has no label", axisLine);
            for (const auto &[character, label] : labels)
                row.axes[index].add(character, label);
            row.axes[index].title = axis.title;
            row.axes[index].fileIndex = axesRead++;
            codes *= static_cast<long long>(labels.size());
        }
        failOnXmlError();
        for (std::size_t i = 0; i < seen.size(); ++i) {
            if (!seen[i])
                fail("pcsRow lacks character position " + std::to_string(i + PcsTables::tableAxes + 1), row.line);
        }
        if (declared && declaredCodes != codes)
            fail("pcsRow says codes=\"" + std::to_string(declaredCodes) + "\" but its labels make "
                     + std::to_string(codes) + " codes",
                 row.line);
        return row;
    }

    int axisPosition(int first, int last, const char *owner) const
    {
        bool present = false;
        const int position = intAttribute("pos", present);
        if (!present || position < first || position > last)
            fail(std::string("axis of a ") + owner + " needs pos=\"" + std::to_string(first) + "\" to \""
                 + std::to_string(last) + "\"");
        return position;
    }

    AxisContent readAxis(int position)
    {
        const long long line = m_xml.lineNumber();
        bool declared = false;
        const int declaredValues = intAttribute("values", declared);
        AxisContent axis;
        Labels &labels = axis.labels;
        std::array<bool, pcsAlphabetSize> seen{};
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("title")) {
                const long long titleLine = m_xml.lineNumber();
                const QString title = m_xml.readElementText(QXmlStreamReader::SkipChildElements).simplified();
                failOnXmlError();
                if (static_cast<std::size_t>(title.size()) > PcsTables::maxAxisTitleLength)
                    fail("title of character position " + std::to_string(position) + " is longer than "
                             + std::to_string(PcsTables::maxAxisTitleLength) + " characters",
                         titleLine);
                axis.title = m_tables.addLabel(title.toStdString());
                continue;
            }
            if (m_xml.name() == QLatin1String("definition")) {
                axis.definition = m_xml.readElementText(QXmlStreamReader::SkipChildElements).simplified().toStdString();
                failOnXmlError();
                continue;
            }
            if (m_xml.name() != QLatin1String("label")) {
                m_xml.skipCurrentElement();
                continue;
            }
            const QString code = m_xml.attributes().value(QLatin1String("code")).toString();
            const int index = code.size() == 1 ? pcsCharacterIndex(static_cast<char>(code.front().toLatin1())) : -1;
            if (code.size() != 1 || code.front().unicode() > 0x7f || index < 0)
                fail("label code=\"" + code.toStdString() + "\" is not one ICD-10-PCS character");
            if (std::exchange(seen[static_cast<std::size_t>(index)], true))
                fail("label code \"" + code.toStdString() + "\" given twice for character position "
                     + std::to_string(position));
            const long long labelLine = m_xml.lineNumber();
            const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement).simplified();
            failOnXmlError();
            if (text.isEmpty())
                fail("label " + code.toStdString() + " of character position " + std::to_string(position) + " is empty", labelLine);
            std::string utf8 = text.toStdString();
            if (static_cast<std::size_t>(text.size()) > maxTextColumnLength)
                fail("label longer than " + std::to_string(maxTextColumnLength) + " characters", labelLine);
            labels.emplace_back(static_cast<char>(code.front().toLatin1()), m_tables.addLabel(std::move(utf8)));
        }
        failOnXmlError();
        if (declared && static_cast<std::size_t>(declaredValues) != labels.size())
            fail("axis says values=\"" + std::to_string(declaredValues) + "\" but has " + std::to_string(labels.size())
                 + " labels",
                 line);
        return axis;
    }

    const std::filesystem::path &m_file;
    QXmlStreamReader m_xml;
    PcsTables m_tables;
};

} // namespace

PcsTables readTablesXml(const std::filesystem::path &file)
{
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw SourceError(file, "is a folder, not a file");
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        throw SourceError(file, "cannot open: " + device.errorString().toStdString());
    TablesXmlParser parser(file, device);
    return parser.parse();
}

} // namespace pcsdb
