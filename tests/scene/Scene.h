// The scene tests' harness: scripts made as the program makes them, run onto a picture read back.
#pragma once

#include "PcxBytes.h"
#include "TestGame.h"
#include "app/CreateGame.h"
#include "app/EventSource.h"
#include "app/ExtProc.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/FrameTarget.h"
#include "runtime/MapViewer.h"

#include <QScriptEngine>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scene {

const sf::Color black(0, 0, 0), red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255),
    yellow(255, 255, 0), white(255, 255, 255);

struct Probe {
    unsigned x, y;
    sf::Color color;
};

inline void expectPixels(const sf::Image& image, const std::vector<Probe>& probes,
                         const std::string& label)
{
    for (const Probe& p : probes)
        EXPECT_EQ(image.getPixel(p.x, p.y), p.color)
            << label << " at (" << p.x << ", " << p.y << ")";
}

inline bool anyPixelIn(const sf::Image& image, unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                       const sf::Color& color)
{
    for (unsigned y = y0; y <= y1; ++y)
        for (unsigned x = x0; x <= x1; ++x)
            if (image.getPixel(x, y) == color)
                return true;
    return false;
}

// An 8-bit PCX file whose palette entry i is palette[i] (the rest black).
inline QByteArray pcxFile(int xmax, int ymax, const std::vector<int>& data,
                          const std::vector<sf::Color>& palette)
{
    QByteArray trailer(1, char(12));
    for (int i = 0; i < 256; ++i) {
        const sf::Color c = i < int(palette.size()) ? palette[i] : black;
        trailer.append(char(c.r)).append(char(c.g)).append(char(c.b));
    }
    return pcxBytes(xmax, ymax, data, trailer);
}

inline sf::Image solid(unsigned w, unsigned h, const sf::Color& colour)
{
    sf::Image image;
    image.create(w, h, colour);
    return image;
}

// Pixel (x, y) is (x, y, 128): a drawn pixel tells where in the sheet it came from.
inline sf::Image coded(unsigned w, unsigned h)
{
    sf::Image image = solid(w, h, black);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            image.setPixel(x, y, sf::Color(sf::Uint8(x), sf::Uint8(y), 128));
    return image;
}

// Every debug line since the scene began, unquoted: script messages and errors, objects' notes.
inline QStringList& lines()
{
    static QStringList all;
    return all;
}

class Scene {
public:
    // `steps`: the dt of the first frames (0.25 s after them); `frames`: each frame's events.
    explicit Scene(std::vector<float> steps = {}, std::vector<ScriptedEvents::Frame> frames = {},
                   sf::Vector2u size = {800, 600})
        : clock(0.25f, std::move(steps)), events(std::move(frames))
    {
        EXPECT_TRUE(texture.create(size.x, size.y));
        lines().clear();
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                             const QString& m) { lines() << debugText(m); });
    }
    ~Scene() { qInstallMessageHandler(previous); }

    void addFile(const QString& path, const QByteArray& bytes) { data.addFile(path, bytes); }
    void addImage(const QString& path, const sf::Image& image)
    {
        data.addFile(path, QByteArray());
        EXPECT_TRUE(image.saveToFile((data.dataDir() + QLatin1Char('/') + path).toStdString()));
    }
    void addFont(const QString& path = QStringLiteral("fonts/sans.ttf"))
    {
        addFile(path, sourceFile(QStringLiteral("tests/fixtures/fonts/DejaVuSans.ttf")));
    }
    // Starts scripts/main.js; false when its Init fails. The map takes its tiles once, here.
    bool start(const QString& source)
    {
        data.addScript(QStringLiteral("main"), source);
        map = std::make_unique<MapViewer>(&texture);
        return loop.start({});
    }
    // A main script with `init` in Init(), `render` in Render() and the globals most tests use.
    bool start(const QString& init, const QString& render)
    {
        return start(QStringLiteral("var s, a, b, t, u, r, l, c, d, m = 0; function Init() {") +
                     init + QStringLiteral("\n} function Frame(dt) {} function Render() {") +
                     render + QStringLiteral("\n}"));
    }
    // One pass of the loop (Frame, Render) and the picture it shows.
    sf::Image frame()
    {
        EXPECT_EQ(loop.step(), std::nullopt) << lines().join('\n').toStdString();
        return texture.getTexture().copyToImage();
    }
    QString eval(const QString& source)
    {
        return loop.game()->scriptEngine()->evaluate(source).toString();
    }

    TestGame data;
    sf::RenderTexture texture;
    FixedStepClock clock;
    ScriptedEvents events;
    TextureTarget target{texture};
    std::unique_ptr<MapViewer> map;
    ExtProc sink{nullptr};
    FrameLoop loop{[this](const QString& name) { return createGame(name, map.get(), &sink); },
                   clock, events, target};

private:
    QtMessageHandler previous;
};

} // namespace scene
