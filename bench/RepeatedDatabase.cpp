// A larger pcs.mdb than any release: the full release's procedures repeated,
// each copy with IDs of its own, so that searches find every title that many
// times. It shows how the program's costs grow with the data.

#include "BenchContext.h"

#include "tools/CodeTableRows.h"
#include "tools/PcsDatabaseWriter.h"
#include "tools/PcsRows.h"
#include "tools/Progress.h"
#include "tools/Release.h"
#include "tools/ReleaseFacts.h"

namespace bench {

void writeRepeatedDatabase(const QString &releaseDir, int times, const QString &target)
{
    const std::filesystem::path dir = releaseDir.toStdString();
    const pcsdb::ReleaseFiles files{dir / "icd10pcs_order_2020.txt", dir / "icd10pcs_tables_2020.xml",
                                    dir / "2018_I10_pcs_gem.txt", dir / "CMS32_DESC_LONG_SG.txt"};
    pcsdb::Progress progress;
    const pcsdb::Release release = pcsdb::Release::read(files, progress);
    const pcsdb::PcsRows once = pcsdb::assemblePcsRows(release);
    const auto procedures = once.procedures.size();
    pcsdb::PcsRows rows;
    rows.procedures.reserve(procedures * std::size_t(times));
    rows.details.reserve(once.details.size() * std::size_t(times));
    for (int copy = 0; copy < times; ++copy) {
        for (pcsdb::Procedure p : once.procedures) {
            p.id += std::int32_t(procedures) * copy;
            rows.procedures.push_back(std::move(p));
        }
        for (pcsdb::ProcedureDetail d : once.details) {
            d.procedure += procedures * std::size_t(copy);
            rows.details.push_back(std::move(d));
        }
    }
    // The code tables describe the codes, not the procedures: one copy.
    pcsdb::writePcsDatabase(rows, pcsdb::assembleCodeTableRows(release.tables),
                            pcsdb::describeRelease(release, rows.procedures.size(), pcsdb::buildDate()),
                            target.toStdString(), progress);
}

} // namespace bench
