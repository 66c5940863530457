#include "ToolsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

QStringList ReleasePaths::arguments(const QString &output) const
{
    return {"--order", order, "--tables", tables, "--gem", gem, "--icd9", icd9, "--output", output};
}

QString builderProgram()
{
    return QStringLiteral(VORIMEL_BIN_DIR "/vorimel-pcsdb");
}

ProgramRun runBuilder(const QStringList &arguments, int timeoutMs)
{
    return runProgram(builderProgram(), arguments, timeoutMs);
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMs,
                      const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    run.finished = process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

ReleasePaths sampleRelease()
{
    const QString dir = QStringLiteral(VORIMEL_SOURCE_DIR "/data/sample/");
    return {dir + "icd10pcs_order_sample.txt", dir + "icd10pcs_tables_sample.xml", dir + "pcs_gem_sample.txt",
            dir + "icd9_titles_sample.txt"};
}

namespace {

const char *const cmsFiles[] = {"icd10pcs_order_2020.txt", "icd10pcs_tables_2020.xml", "2018_I10_pcs_gem.txt",
                                "CMS32_DESC_LONG_SG.txt"};

QString cmsDir()
{
    return QStringLiteral(VORIMEL_CMS_DIR);
}

} // namespace

bool cmsReleaseAvailable()
{
    for (const char *name : cmsFiles) {
        if (!QFileInfo::exists(cmsDir() + '/' + name + ".xz"))
            return false;
    }
    return true;
}

QString unpackCmsRelease(const QTemporaryDir &dir, ReleasePaths *paths)
{
    QStringList unpacked;
    for (const char *name : cmsFiles) {
        QProcess xz;
        const QString target = dir.filePath(name);
        xz.setStandardOutputFile(target);
        xz.start("xz", {"-dc", cmsDir() + '/' + name + ".xz"});
        if (!xz.waitForFinished(120000) || xz.exitStatus() != QProcess::NormalExit || xz.exitCode() != 0)
            return QString("xz could not unpack %1: %2").arg(name, xz.errorString());
        unpacked.append(target);
    }
    *paths = {unpacked[0], unpacked[1], unpacked[2], unpacked[3]};
    return {};
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
