#include "tools/Release.h"

#include "tools/Progress.h"
#include "tools/TablesXmlReader.h"

namespace pcsdb {

Release Release::read(const ReleaseFiles &files, Progress &progress)
{
    progress.step("Reading the order file");
    std::vector<OrderEntry> order = readOrderFile(files.order);
    progress.step("Reading the tables");
    PcsTables tables = readTablesXml(files.tables);
    progress.step("Reading the GEM");
    GemFile gem = GemFile::read(files.gem);
    progress.step("Reading the ICD-9-CM titles");
    Icd9Titles titles = Icd9Titles::read(files.icd9Titles);
    return Release{files, std::move(order), std::move(tables), std::move(gem), std::move(titles)};
}

} // namespace pcsdb
