// Asset files a game may ship damaged or hostile, loaded through the script
// API: each gives an object that shows or plays nothing, promptly, and one
// debug line naming the file.
#include "Scene.h"
#include "core/RegularFile.h"

#include <sys/stat.h>

using namespace scene;

// A regression input of the fuzz corpora: target/name.
static QByteArray corpus(const char* file)
{
    return readFile(QStringLiteral(LEDGE_FUZZ_CORPUS "/") + QLatin1String(file));
}

TEST(HostileAssets, GiveEmptyObjectsPromptlyWithOneLineEach)
{
    struct Case {
        const char* path;
        QByteArray bytes; // empty: a directory; "fifo": a named pipe; "sparse": one byte too many
        const char* load;
        bool reported;
    };
    const Case cases[] = {
        {"sprites/dir.png", {}, "game.loadSprite('dir.png')", true},
        {"sprites/pipe.png", "fifo", "game.loadSprite('pipe.png')", true},
        {"sprites/pipe.pcx", "fifo", "game.loadSpritePCX8bit('pipe.pcx')", true},
        {"sprites/huge.pcx", QByteArray(8, 0) + QByteArray(4, '\xff') + QByteArray(116, 0),
         "game.loadAnimationPCX8bit('huge.pcx', 1, 5)", true},
        {"sprites/huge.png", "sparse", "game.loadAnimationFromFiles(['huge.png'], 5)", true},
        {"sprites/wide.png", corpus("image/png-16000x16000"), "game.loadSprite('wide.png')", true},
        {"sprites/app0.jpg", corpus("image/jpeg-app0-length-past-end"),
         "game.loadSprite('app0.jpg')", true},
        {"sprites/assert.jpg", corpus("image/jpeg-decoder-assertion"),
         "game.loadSprite('assert.jpg')", true},
        {"sprites/hdr.png", corpus("image/hdr-zero-run-at-end.png"),
         "game.loadAnimation('hdr.png', 1, 5)", true},
        {"sounds/pipe.wav", "fifo", "game.loadMusic('pipe.wav')", true},
        {"sounds/flt.wav", corpus("sound/wav-flt-instead-of-fmt"), "game.loadMusic('flt.wav')",
         true},
        {"sounds/long.flac", corpus("sound/flac-2pow36-samples"), "game.loadSound('long.flac')",
         false},
        {"sounds/huge.wav", corpus("sound/wav-data-size-ffffffff"), "game.loadSound('huge.wav')",
         false},
        {"sounds/granule.ogg", corpus("sound/ogg-last-granule-7fff"),
         "game.loadMusic('granule.ogg')", false},
        // 16 font units per em: every glyph comes out 64 times too large.
        {"fonts/tall.ttf", corpus("font/ttf-units-per-em-16"),
         "game.loadText('tall.ttf', 'e', 250)", true},
    };
    Scene scene;
    QString loads;
    for (const Case& c : cases) {
        const QString path = scene.data.dataDir() + QLatin1Char('/') + QLatin1String(c.path);
        QDir().mkpath(QFileInfo(path).path());
        if (c.bytes.isEmpty())
            QDir().mkpath(path);
        else if (c.bytes == "fifo")
            ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (c.bytes == "sparse") {
            QFile big(path);
            ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(fileLimits::assetBytes + 1));
        } else
            scene.addFile(QLatin1String(c.path), c.bytes);
        loads += QLatin1String(c.load) + QLatin1Char(',');
    }
    ASSERT_TRUE(
        scene.start(QStringLiteral("var all; function Init() { all = [") + loads +
                    QStringLiteral("]; } function Frame() {}"
                                   "function Render() { all.forEach(function (x) {"
                                   "  if (x.render) x.render(); if (x.printTo) x.printTo(0, 0);"
                                   "  if (x.play) x.play(); }); }")));
    const sf::Image frame = scene.frame();
    for (unsigned y = 0; y < 600; y += 3)
        for (unsigned x = 0; x < 800; x += 3)
            ASSERT_EQ(frame.getPixel(x, y), black) << x << "," << y;
    int reported = 0;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        reported += cases[i].reported;
        EXPECT_EQ(lines().filter(QLatin1String(cases[i].path)).size(), int(cases[i].reported))
            << cases[i].path;
        EXPECT_EQ(scene.eval(QStringLiteral("all[%1].getWidth ? all[%1].getWidth() : 0").arg(i)),
                  QStringLiteral("0"))
            << cases[i].path;
    }
    EXPECT_EQ(lines().size(), reported) << lines().join('\n').toStdString();
}
