#pragma once

#include <QString>
#include <QtGlobal>

#include <sstream>

namespace sf {
class Image;
class SoundBuffer;
class Texture;
} // namespace sf

// Loading images and sounds for the script-visible objects: files are read
// with the limits of AssetFile and decoded by ImageDecoder and SoundDecoder.
// A load that fails prints one debug line naming the file and the reason and
// leaves the object as it was, which for a new object means empty.
namespace asset {

// Sprites and frames: no side above the graphics card's texture limit.
bool loadTexture(sf::Texture& texture, const QString& path);
// Sheets, which are cut into textures later.
bool loadImage(sf::Image& image, const QString& path);
bool loadSoundBuffer(sf::SoundBuffer& buffer, const QString& path);

// Takes the graphics and audio library's own error lines off the debug
// output while it lives: a failure is reported once, in our words.
class QuietLibrary {
public:
    QuietLibrary();
    ~QuietLibrary();
    QuietLibrary(const QuietLibrary&) = delete;
    QuietLibrary& operator=(const QuietLibrary&) = delete;

    // Whether the libraries complained meanwhile.
    bool any() const { return !text.str().empty(); }

private:
    std::ostringstream text;
    std::streambuf* previous;
};

} // namespace asset
