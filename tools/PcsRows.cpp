#include "tools/PcsRows.h"

#include "tools/Icd9Code.h"
#include "tools/Release.h"
#include "tools/SourceError.h"

namespace pcsdb {

namespace {

ProcedureDetail detailOf(std::size_t procedure, const PcsTables::Meaning &meaning)
{
    ProcedureDetail detail;
    detail.procedure = procedure;
    for (std::size_t i = 0; i < meaning.size(); ++i)
        detail.characters[i] = std::string(meaning[i]);
    return detail;
}

} // namespace

PcsRows assemblePcsRows(const Release &release)
{
    PcsRows rows;
    rows.procedures.reserve(release.order.size());
    rows.details.reserve(release.order.size() * 4 / 3);
    for (const OrderEntry &entry : release.order) {
        const std::optional<PcsTables::Meaning> meaning = release.tables.meaningOf(entry.code);
        if (!meaning)
            throw SourceError(release.files.order, entry.line,
                              "code " + entry.code + " is not in the tables of " + release.files.tables.string());
        const std::size_t procedure = rows.procedures.size();
        rows.procedures.push_back({static_cast<std::int32_t>(procedure + 1), entry.code, entry.longTitle});

        const std::vector<GemMapping> *mappings = release.gem.mappingsOf(entry.code);
        if (!mappings) {
            ProcedureDetail detail = detailOf(procedure, *meaning);
            detail.pcs9desc = newerThanGemDescription;
            rows.details.push_back(std::move(detail));
            continue;
        }
        for (const GemMapping &mapping : *mappings) {
            ProcedureDetail detail = detailOf(procedure, *meaning);
            if (mapping.icd9Code == gemNoEquivalent) {
                detail.pcs9 = std::string(gemNoEquivalent);
                detail.pcs9desc = noEquivalentDescription;
            } else {
                const std::string *title = release.titles.titleOf(mapping.icd9Code);
                if (!title)
                    throw SourceError(release.files.gem, mapping.line,
                                      "ICD-9-CM code " + mapping.icd9Code + " has no title in "
                                          + release.files.icd9Titles.string());
                detail.pcs9 = icd9WithDecimalPoint(mapping.icd9Code);
                detail.pcs9desc = *title;
            }
            rows.details.push_back(std::move(detail));
        }
    }
    return rows;
}

} // namespace pcsdb
