#pragma once
// Where a picture shows on an X server's screen, found pixel by pixel: how a test
// reaches a button of a program that it cannot look into, such as the installed one.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

namespace packagetest {

// The centre of the first place on the display's screen where every opaque pixel
// of the picture shows (within a small tolerance for rounding in drawing); none
// when it does not show, and then *why says what went wrong, if anything did.
std::optional<QPoint> findOnScreen(const QByteArray &display, const QImage &picture, QString *why);

} // namespace packagetest
