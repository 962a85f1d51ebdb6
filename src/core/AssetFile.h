#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

class QFile;

// Reading a game's image, sound and font files, which may be hostile: only
// regular files up to the asset size of RegularFile.h are read, and a load
// that fails says so in one debug line.
namespace asset {

// The most pixels an image may declare: 64 megapixels, 256 MiB of RGBA.
constexpr quint64 maxImagePixels = quint64(1) << 26;

// The one debug line of a failed load: the reason and the file.
void reportFailure(const QString& path, const QString& reason);

// The whole file, or false after reporting why not (a missing file only
// when asked to).
bool readOrReport(const QString& path, QByteArray& bytes, bool reportMissing = true);
// The file opened for reading a little at a time, or null after reporting
// why not.
std::unique_ptr<QFile> openOrReport(const QString& path);

// Reasons shared by the decoders.
QString damaged();
QString unknownFormat();
QString tooLarge(quint64 width, quint64 height);

} // namespace asset
