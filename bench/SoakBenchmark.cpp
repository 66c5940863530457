// A long day in one process: the frame window on the full database, and ten
// thousand mixed operations a coder would make (keyword searches for words of
// the titles, advanced searches, details, choices among duplicates, theme
// changes, About). What must not change over the day is reported: resident
// memory, open descriptors, temporary files left behind, and the median of
// each operation early and late in the run.

#include "BenchContext.h"

#include "app/frmMainForm.h"
#include "lookup/AdvancedPanel.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"
#include "ribbon/TelvarRibbon.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <malloc.h>
#include <unistd.h>

namespace bench {

namespace {

using namespace platform::db;

constexpr int kEarly = 1000; // the first reading is taken after this many

struct Snapshot {
    double residentMb = 0;
    double heapInUseMb = 0; // what the program still holds, whatever the allocator keeps for reuse
    int descriptors = 0;
    int temporaryFiles = 0;
};

double residentMb()
{
    FILE *statm = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (statm) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double heapInUseMb()
{
    const struct mallinfo2 heap = ::mallinfo2();
    return double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

Snapshot snapshot()
{
    Snapshot s;
    s.residentMb = residentMb();
    s.heapInUseMb = heapInUseMb();
    s.descriptors = int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
    s.temporaryFiles = int(QDir(QDir::tempPath()).entryList({QStringLiteral("LRP*")}, QDir::Files | QDir::Hidden).size());
    return s;
}

QVector<qint32> idsWhere(const QString &condition)
{
    Command command;
    command.setActiveConnection(&sharedConnection());
    command.setCommandText(QStringLiteral("SELECT ID FROM getalldata GROUP BY ID HAVING %1;").arg(condition));
    Recordset rs;
    rs.open(command);
    QVector<qint32> ids;
    for (; !rs.eof(); rs.moveNext())
        ids << rs.field(QStringLiteral("ID")).value().toInt();
    rs.close();
    return ids;
}

// Words of three letters or more from the titles, each once.
QStringList titleWords(const Descriptions &descriptions)
{
    std::set<QString> words;
    static const QRegularExpression separator(QStringLiteral("[^A-Za-z]+"));
    for (const std::string &title : descriptions)
        for (const QString &word : QString::fromStdString(title).split(separator, Qt::SkipEmptyParts))
            if (word.size() >= 3)
                words.insert(word.toLower());
    return QStringList(words.begin(), words.end());
}

class Day {
public:
    Day(const Context &ctx, app::frmMainForm &frame, std::mt19937 &random)
        : ctx_(ctx), frame_(frame), random_(random)
    {
        words_ = titleWords(loadDescriptions(sharedConnection()));
        single_ = idsWhere(QStringLiteral("count(*) = 1"));
        several_ = idsWhere(QStringLiteral("count(*) > 1"));
    }

    // One operation picked at random; returns its name.
    QString runOne()
    {
        const int pick = std::uniform_int_distribution<int>(0, 99)(random_);
        if (pick < 40)
            return keywordSearch();
        if (pick < 55)
            return advancedSearch();
        if (pick < 75)
            return details();
        if (pick < 88)
            return duplicateChoice();
        if (pick < 95)
            return themeChange();
        return about();
    }

private:
    lookup::frmProcedures &window() { return *frame_.procedures(); }
    template <class T> const T &any(const QVector<T> &from)
    {
        return from[std::uniform_int_distribution<qsizetype>(0, from.size() - 1)(random_)];
    }
    const QString &anyWord() { return words_[std::uniform_int_distribution<qsizetype>(0, words_.size() - 1)(random_)]; }

    QString keywordSearch()
    {
        window().txtSearch()->setText(anyWord());
        window().cmdSearch()->click();
        return QStringLiteral("keyword search");
    }

    QString advancedSearch()
    {
        lookup::AdvancedPanel *panel = window().picAdvanced();
        window().Command1()->click();
        panel->selectPosition(lookup::TextPosition(std::uniform_int_distribution<int>(0, 2)(random_)));
        panel->selectJoining(lookup::Joining(std::uniform_int_distribution<int>(0, 1)(random_)));
        for (int i = 0; i < lookup::AdvancedPanel::ParamCount; ++i)
            panel->chkParam(i)->setChecked(false);
        panel->chkParam(0)->setChecked(true);
        panel->txtParam(0)->setText(anyWord());
        if (std::uniform_int_distribution<int>(0, 1)(random_)) {
            panel->chkParam(1)->setChecked(true);
            panel->txtParam(1)->setText(QStringLiteral("0%1").arg(std::uniform_int_distribution<int>(0, 9)(random_)));
        }
        panel->cmdAdvancedSearch()->click();
        panel->cmdAdvancedCancel()->click();
        return QStringLiteral("advanced search");
    }

    QString details()
    {
        window().GetProductDetails(any(single_), QStringLiteral("0"));
        return QStringLiteral("details");
    }

    QString duplicateChoice()
    {
        window().GetProductDetails(any(several_), QStringLiteral("0"));
        QListWidget *choices = window().picDuplicates()->lstDuplicates();
        if (choices->count() > 0) {
            const int row = std::uniform_int_distribution<int>(0, choices->count() - 1)(random_);
            emit choices->itemDoubleClicked(choices->item(row));
            QCoreApplication::processEvents(); // the choice is taken after the click's own handling
        }
        return QStringLiteral("duplicates choice");
    }

    QString themeChange()
    {
        TelvarRibbon *ribbon = frame_.TelvarRibbon1();
        ribbon->SetTheme(std::uniform_int_distribution<int>(0, 2)(random_));
        ribbon->Refresh();
        return QStringLiteral("theme change");
    }

    QString about()
    {
        frame_.PressMenuButton(app::frmMainForm::CmdShowAbout);
        QCoreApplication::processEvents();
        frame_.PressMenuButton(app::frmMainForm::CmdShowProcedures);
        return QStringLiteral("About and back");
    }

    const Context &ctx_;
    app::frmMainForm &frame_;
    std::mt19937 &random_;
    QStringList words_;
    QVector<qint32> single_;
    QVector<qint32> several_;
};

void report(const Context &ctx, const QString &name, const QString &unit, QVector<double> samples, double target)
{
    Result r{name};
    r.unit = unit;
    r.samples = std::move(samples);
    r.target = target;
    ctx.report->add(r);
}

} // namespace

int runSoak(const Context &ctx, int operations)
{
    std::mt19937 random(20081019);
    app::frmMainForm frame(ctx.workDir);
    frame.MDIForm_Load();
    frame.resize(1280, 900);
    frame.show();
    QCoreApplication::processEvents();
    Day day(ctx, frame, random);

    const Snapshot start = snapshot();
    Snapshot early;
    // Each operation's times in the first and in the last thousand operations.
    std::map<QString, QVector<double>> first, last;
    QElapsedTimer clock;
    for (int i = 1; i <= operations; ++i) {
        clock.start();
        const QString name = day.runOne();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (i <= kEarly)
            first[name] << ms;
        if (i > operations - kEarly)
            last[name] << ms;
        if (i == kEarly)
            early = snapshot();
        if (i % 1000 == 0)
            std::fprintf(stderr, "soak: %d operations, %.1f MB resident\n", i, residentMb());
    }
    const Snapshot end = snapshot();

    report(ctx, QStringLiteral("soak: resident memory after %1 operations").arg(kEarly), QStringLiteral("MB"),
           {early.residentMb}, 0);
    report(ctx, QStringLiteral("soak: resident memory after %1 operations").arg(operations), QStringLiteral("MB"),
           {end.residentMb}, early.residentMb + 5);
    // Resident memory keeps the high-water mark of the largest result list shown
    // so far; the heap in use and the resident size once the allocator has given
    // its free pages back tell a leak from memory kept for reuse.
    report(ctx, QStringLiteral("soak: heap in use after %1 operations").arg(kEarly), QStringLiteral("MB"),
           {early.heapInUseMb}, 0);
    report(ctx, QStringLiteral("soak: heap in use after %1 operations").arg(operations), QStringLiteral("MB"),
           {end.heapInUseMb}, early.heapInUseMb + 5);
    ::malloc_trim(0);
    report(ctx, QStringLiteral("soak: resident after %1 operations, free heap returned").arg(operations),
           QStringLiteral("MB"), {residentMb()}, early.residentMb + 5);
    std::printf("soak: open descriptors at start %d, after %d operations %d, after %d operations %d\n",
                start.descriptors, kEarly, early.descriptors, operations, end.descriptors);
    std::printf("soak: LRP temporary files in %s: at start %d, at end %d\n", qPrintable(QDir::tempPath()),
                start.temporaryFiles, end.temporaryFiles);
    for (const auto &[name, samples] : first) {
        report(ctx, QStringLiteral("soak: %1, first %2 operations (%3 times)").arg(name).arg(kEarly).arg(samples.size()),
               QStringLiteral("ms"), samples, 0);
        const QVector<double> &late = last[name];
        if (!late.isEmpty())
            report(ctx, QStringLiteral("soak: %1, last %2 operations (%3 times)").arg(name).arg(kEarly).arg(late.size()),
                   QStringLiteral("ms"), late, 0);
    }
    const bool steady = end.residentMb - early.residentMb <= 5 && end.descriptors == early.descriptors
                        && end.temporaryFiles == start.temporaryFiles;
    std::printf("soak: %s (resident %+.1f MB, heap in use %+.1f MB from operation %d to %d)\n",
                steady ? "steady" : "NOT steady", end.residentMb - early.residentMb, end.heapInUseMb - early.heapInUseMb,
                kEarly, operations);
    frame.MDIForm_Unload();
    return steady ? 0 : 1;
}

} // namespace bench
