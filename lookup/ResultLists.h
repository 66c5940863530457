#pragma once
// The result list and its hidden twin of record identifiers, filled together
// from a search statement so that row i of one always belongs to row i of the
// other. Both searches read their rows through here.

#include "lookup/ResultList.h"
#include "lookup/SharedQuery.h"

#include <optional>

namespace lookup {

struct ResultLists {
    ResultList *descriptions; // lstSearch
    ResultList *ids;          // lstSearchID

    void clear() const;
    // Appends Description and ID of every row; the number of rows read, or
    // nothing when owner went away while events were serviced. Lists that are
    // hidden meanwhile let their views hear of the rows once, at the end.
    std::optional<int> fill(SharedQuery &query, const QPointer<QObject> &owner) const;
    static QString countCaption(int count);
    // The caption of a search that looked again for the words in any order.
    static QString allWordsCountCaption(int count);
};

} // namespace lookup
