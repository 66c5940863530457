#pragma once
// Running vorimel-pcsdb (or any program) and finding release files, for the
// builder's and the package's tests.

#include <QProcess>
#include <QString>
#include <QStringList>

class QTemporaryDir;

struct ReleasePaths {
    QString order;
    QString tables;
    QString gem;
    QString icd9;

    QStringList arguments(const QString &output) const;
};

struct ProgramRun {
    bool finished = false;   // started, and ended by itself rather than by a crash or the timeout
    int exitCode = -1;
    QString out;
    QString err;
};

QString builderProgram();
ProgramRun runBuilder(const QStringList &arguments, int timeoutMs = 120000);
// Any program, such as a copy of the builder placed elsewhere.
ProgramRun runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 120000,
                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

ReleasePaths sampleRelease();

// Unpacks the official release (.xz files of VORIMEL_CMS_DIR) into dir; empty
// result on success, else why not (the folder missing is not an error to fail on:
// callers skip then).
bool cmsReleaseAvailable();
QString unpackCmsRelease(const QTemporaryDir &dir, ReleasePaths *paths);

// Every file name in a folder, for checking that a failed build left nothing behind.
QStringList filesIn(const QString &dir);
