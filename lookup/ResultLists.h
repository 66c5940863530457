#pragma once
// The result list and its hidden twin of record identifiers, filled together
// from a search statement so that row i of one always belongs to row i of the
// other. Both searches read their rows through here.

#include "lookup/SharedQuery.h"

#include <QListWidget>
#include <optional>

namespace lookup {

struct ResultLists {
    QListWidget *descriptions; // lstSearch
    QListWidget *ids;          // lstSearchID

    void clear() const;
    // Appends Description and ID of every row; the number of rows read, or
    // nothing when owner went away while events were serviced.
    std::optional<int> fill(SharedQuery &query, const QPointer<QObject> &owner) const;
    static QString countCaption(int count);
};

} // namespace lookup
