#pragma once
// The program's one error type: a number, a source and a description, as the
// error boxes show them.

#include <QString>
#include <stdexcept>

namespace platform {

class AppError : public std::runtime_error {
public:
    AppError(int number, QString source, QString description)
        : std::runtime_error(description.toStdString()), number_(number),
          source_(std::move(source)), description_(std::move(description)) {}

    int number() const { return number_; }
    const QString &source() const { return source_; }
    const QString &description() const { return description_; }

private:
    int number_;
    QString source_;
    QString description_;
};

} // namespace platform
