#include "platform/db/Database.h"

namespace platform::db {
namespace {

struct SharedObjects {
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Command> command;
    std::unique_ptr<Recordset> recordset;
};

SharedObjects &shared()
{
    static SharedObjects objects;
    return objects;
}

template <typename T> T &madeOnFirstUse(std::unique_ptr<T> &slot)
{
    if (!slot)
        slot = std::make_unique<T>();
    return *slot;
}

} // namespace

Connection &sharedConnection()
{
    return madeOnFirstUse(shared().connection);
}

Command &sharedCommand()
{
    return madeOnFirstUse(shared().command);
}

Recordset &sharedRecordset()
{
    return madeOnFirstUse(shared().recordset);
}

void releaseShared()
{
    SharedObjects &objects = shared();
    if (objects.connection)
        objects.connection->close();
    objects.connection.reset();
    objects.command.reset();
    objects.recordset.reset();
}

} // namespace platform::db
