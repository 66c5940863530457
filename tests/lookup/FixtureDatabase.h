#pragma once
// A small pcs.mdb written with the Jet writer, opened as the program's shared
// connection.

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

namespace fixture {

struct Detail {
    int id;
    std::string code;
    std::optional<std::string> pcs9; // nullopt: Null
    std::string pcs9desc;
};

struct Procedure {
    int id;
    std::string description;
};

// The procedures and ICD-9 rows the tests know by heart.
const std::vector<Procedure> &procedures();
const std::vector<Detail> &details();
// The meaning of character n (1..7) of a detail row, as written to the file.
std::string characterMeaning(const Detail &detail, int n);

// DetailsAsSavedQuery: getalldata is a saved query joining a table of
// procedures to a table of their ICD-9 rows, as a pcs.mdb kept in Access may
// define it. With VORIMEL_FIXTURE_SAVED_QUERY set, Both means that layout, so
// that a whole test runs again on it.
enum class Tables { Both, DetailsOnly, DetailsAsSavedQuery };

// Writes pcs.mdb into dir and returns its path; throws on a writer failure.
QString write(const QTemporaryDir &dir, Tables tables = Tables::Both, const QString &name = QStringLiteral("pcs.mdb"));

// (Re)opens the shared connection on file the way the frame does.
void openShared(const QString &file);

// A test class whose tests all read one fixture through the shared
// connection: written and opened before the first test, released after the last.
class SharedFixtureTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

protected:
    QTemporaryDir dir_;
    QString file_;
};

} // namespace fixture
