#include "lookup/ResultLists.h"

namespace lookup {

void ResultLists::clear() const
{
    ids->clear();
    descriptions->clear();
}

namespace {

// Ends the filling however the reading ends; the lists may be gone with the window.
class Filling {
public:
    explicit Filling(const ResultLists &lists) : descriptions_(lists.descriptions), ids_(lists.ids)
    {
        descriptions_->beginFilling();
        ids_->beginFilling();
    }
    ~Filling()
    {
        if (descriptions_)
            descriptions_->endFilling();
        if (ids_)
            ids_->endFilling();
    }
    Filling(const Filling &) = delete;
    Filling &operator=(const Filling &) = delete;

private:
    QPointer<ResultList> descriptions_;
    QPointer<ResultList> ids_;
};

} // namespace

std::optional<int> ResultLists::fill(SharedQuery &query, const QPointer<QObject> &owner) const
{
    const Filling filling(*this);
    int count = 0;
    const bool finished = query.forEachRow(owner, [&](const platform::db::Recordset &rows) {
        // Both values first: a failing read must not leave the twins uneven.
        const QString description = rows.field(QStringLiteral("Description")).toString();
        const QString id = rows.field(QStringLiteral("ID")).toString();
        descriptions->addItem(description);
        ids->addItem(id);
        ++count;
    });
    if (!finished)
        return std::nullopt;
    return count;
}

QString ResultLists::countCaption(int count)
{
    return QString::number(count) + QStringLiteral(" Item(s) Found");
}

QString ResultLists::allWordsCountCaption(int count)
{
    return countCaption(count) + QStringLiteral(" (all words)");
}

} // namespace lookup
