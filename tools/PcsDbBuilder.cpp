#include "tools/PcsDbBuilder.h"

#include "tools/CodeTableRows.h"
#include "tools/PcsDatabaseWriter.h"
#include "tools/PcsRows.h"
#include "tools/Progress.h"
#include "tools/ReleaseFacts.h"
#include "tools/TableCoverage.h"

namespace pcsdb {

BuildSummary buildPcsDatabase(const ReleaseFiles &files, const std::filesystem::path &target, Progress &progress)
{
    PcsRows rows;
    CodeTableRows codeTables;
    ReleaseFacts facts;
    {
        // The release is only needed until its rows exist; freeing it before writing lowers the peak memory.
        const Release release = Release::read(files, progress);
        progress.step("Assembling the rows");
        rows = assemblePcsRows(release);
        checkTableCodesAreOrdered(release);
        codeTables = assembleCodeTableRows(release.tables);
        facts = describeRelease(release, rows.procedures.size(), buildDate());
    }
    writePcsDatabase(rows, codeTables, facts, target, progress);
    progress.finish();
    return {rows.procedures.size(), rows.details.size()};
}

} // namespace pcsdb
