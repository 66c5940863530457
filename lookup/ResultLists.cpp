#include "lookup/ResultLists.h"

namespace lookup {

void ResultLists::clear() const
{
    ids->clear();
    descriptions->clear();
}

std::optional<int> ResultLists::fill(SharedQuery &query, const QPointer<QObject> &owner) const
{
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

} // namespace lookup
