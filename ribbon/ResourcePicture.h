#pragma once
// Pictures from the embedded theme resources (":/themes/<TYPE>/<id>.gif"). Each
// load writes the resource's bytes to a fresh temporary file named "LRP..." in
// the temporary folder, reads the picture from that file and deletes it again,
// on success and on failure alike.
//
// Errors are platform::AppError with the executable's name + ".cLoadResPicture"
// as source; the number tells the cause:
//   10000 | errno   the temporary folder or file could not be made
//   326             no such resource
//   75              the temporary file could not be written
//   481             the bytes are not a picture the loader reads

#include <QByteArray>
#include <QPixmap>
#include <QString>

namespace ribbon {

inline constexpr int ErrTempOffset = 10000;
inline constexpr int ErrResourceNotFound = 326;
inline constexpr int ErrFileAccess = 75;
inline constexpr int ErrInvalidPicture = 481;

// An empty resourceType names no image set: nothing is read, and the empty
// temporary file is refused by the loader (ErrInvalidPicture).
QPixmap LoadResourcePicture(int id, const QString &resourceType);

// The resource's bytes; throws AppError(ErrResourceNotFound) when it is absent.
QByteArray LoadResData(int id, const QString &resourceType);

// The temporary folder, with a trailing separator.
QString GetTempDirectory();
// Creates an empty, uniquely named file "<prefix>XXXXXX" in directory (the
// temporary folder when empty) and returns its full path. Errors from here carry
// the source executable + ".cAniCursor".
QString MakeTempFileName(const QString &prefix, const QString &directory);
QString GetSystemErrorText(int code);
void DeleteTempFile(const QString &path);

} // namespace ribbon
