#include "platform/db/Database.h"

#include "platform/db/Errors.h"
#include "platform/db/engine/StatementRunner.h"

namespace platform::db {
namespace {

[[noreturn]] void notOpen()
{
    raise(ErrNotOpen, kRecordsetSource, QStringLiteral("Operation is not allowed when the object is closed."));
}

[[noreturn]] void noCurrentRow()
{
    raise(ErrNoCurrentRow, kRecordsetSource,
          QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                         "Requested operation requires a current record."));
}

} // namespace

Recordset::Recordset() : rows_(std::make_unique<ResultRows>()) {}

Recordset::~Recordset() = default;

void Recordset::open(const Command &source)
{
    if (open_)
        raise(ErrAlreadyOpen, kRecordsetSource,
              QStringLiteral("Operation is not allowed when the object is open."));
    const Connection *connection = source.activeConnection();
    if (!connection || !connection->isOpen())
        raise(ErrNotOpen, kRecordsetSource,
              QStringLiteral("The command has no open connection to run on."));
    StatementResult result;
    try {
        result = runStatement(connection->engine(), source.commandText());
    } catch (const StatementRejected &rejection) {
        raise(ErrStatement, kRecordsetSource, rejection.description());
    }
    names_ = std::move(result.names);
    *rows_ = std::move(result.rows);
    knownNames_ = {};
    current_ = 0;
    open_ = true;
}

void Recordset::close()
{
    if (!open_)
        notOpen();
    open_ = false;
    names_.clear();
    rows_->clear();
    knownNames_ = {};
    current_ = 0;
}

bool Recordset::eof() const
{
    if (!open_)
        notOpen();
    return current_ >= rows_->rowCount();
}

void Recordset::moveFirst()
{
    if (!open_)
        notOpen();
    if (rows_->rowCount() == 0)
        noCurrentRow();
    current_ = 0;
}

void Recordset::moveNext()
{
    if (eof())
        noCurrentRow();
    ++current_;
}

int Recordset::recordCount() const
{
    if (!open_)
        notOpen();
    return int(rows_->rowCount());
}

int Recordset::columnOf(const QString &name) const
{
    for (const KnownName &known : knownNames_) {
        // The same text in the same place is the same name: the kept copy
        // holds on to that text, so nothing else can take its place.
        if (known.column >= 0 && known.name.size() == name.size()
            && (known.name.constData() == name.constData() || known.name == name))
            return known.column;
    }
    for (qsizetype column = 0; column < names_.size(); ++column) {
        if (names_[column].compare(name, Qt::CaseInsensitive) == 0) {
            knownNames_[nextKnownName_++ % knownNames_.size()] = KnownName{name, int(column)};
            return int(column);
        }
    }
    return -1;
}

Field Recordset::field(const QString &name) const
{
    if (!open_)
        notOpen();
    const int column = columnOf(name);
    if (column < 0)
        raise(ErrNoSuchField, kRecordsetSource,
              QStringLiteral("Item cannot be found in the collection corresponding to the requested name: %1.")
                  .arg(name));
    if (eof())
        noCurrentRow();
    return Field(rows_->value(current_, column));
}

} // namespace platform::db
