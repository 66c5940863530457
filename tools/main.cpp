// vorimel-pcsdb: builds pcs.mdb from a CMS ICD-10-PCS release.

#include "tools/PcsDbCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vorimel-pcsdb");
    return pcsdb::runPcsDbCommand(QCoreApplication::arguments());
}
