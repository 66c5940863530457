#pragma once
// A fixed set of pictures addressed by 1-based position, shared by its owner
// with the controls that draw from it (the ribbon's buttons, the grid's icons).

#include <QPixmap>
#include <QString>
#include <QVector>

namespace platform {

class ImageList {
public:
    // Error raised for a position the list does not hold.
    static constexpr int ErrNoSuchImage = 35601;

    // Loads name1.png ... nameN.png style resources: each path in order.
    static ImageList fromFiles(const QStringList &paths);

    void add(const QPixmap &picture) { pictures_.push_back(picture); }
    int count() const { return int(pictures_.size()); }
    // Throws AppError(ErrNoSuchImage) when position is outside 1..count().
    const QPixmap &picture(int position) const;

private:
    QVector<QPixmap> pictures_;
};

} // namespace platform
