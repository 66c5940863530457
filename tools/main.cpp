// vorimel-pcsdb: builds pcs.mdb from a CMS ICD-10-PCS release.

#include "mdb/InterruptCleanup.h"
#include "tools/PcsDbCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vorimel-pcsdb");
    mdb::installInterruptCleanup(); // Ctrl-C leaves no half-written file beside the target
    return pcsdb::runPcsDbCommand(QCoreApplication::arguments());
}
