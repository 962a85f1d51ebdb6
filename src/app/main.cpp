#include "app/CreateGame.h"
#include "app/Display.h"
#include "app/ExtProc.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/SessionRecorder.h"
#include "app/WindowFrontend.h"
#include "runtime/MapViewer.h"
#include "runtime/SeededRandom.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <SFML/Graphics/RenderWindow.hpp>
#include <malloc.h>
#include <memory>

int main(int argc, char** argv)
{
    // A frame takes blocks from the heap and gives them back (the software
    // renderer's scene, the engine's call arguments); handed back to the
    // system each time, they cost page faults and system calls the next
    // frame. Kept, a frame reuses the memory of the one before.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    QCoreApplication app(argc, argv);
    // A recording goes where the program was started, so it opens first.
    QFile record(qEnvironmentVariable("LEDGE_RECORD"));
    const bool recording = !record.fileName().isEmpty();
    if (recording &&
        !record.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        qDebug() << QStringLiteral("Cannot write the recording ") + record.fileName();
    QDir::setCurrent(QStringLiteral("../data"));

    if (!displayAvailable()) {
        qDebug() << QStringLiteral("No display to open the window on (is DISPLAY set?)");
        return 1;
    }

    sf::RenderWindow window(sf::VideoMode(800, 600, 32), "MainWindow", sf::Style::Default,
                            sf::ContextSettings());
    window.setVerticalSyncEnabled(true);
    window.setFramerateLimit(60);

    ExtProc sink(&window);
    MapViewer map(&window);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromUtf8(argv[i]);

    RealClock clock;
    WindowFrontend frontend(window);
    // Development mode reloads on edits and shows failures in the window.
    const bool development = qgetenv("LEDGE_DEV") == "1";
    const QString font = QStringLiteral("fonts/DejaVuSans.ttf");
    if (!record.isOpen()) {
        FrameLoop loop([&](const QString& name) { return createGame(name, &map, &sink); }, clock,
                       frontend, frontend);
        if (development)
            loop.setDevelopmentMode(font);
        return loop.run(arguments);
    }
    // A recorded run must replay exactly: Math.random gets a seed that is
    // written down, and timers follow the frames' dt.
    const quint64 seed = QRandomGenerator::global()->generate64();
    SeededRandom random(seed);
    map.drawSpawnPointsFrom(&random);
    SessionRecorder recorder(clock, frontend, record, seed);
    FrameLoop loop(
        [&](const QString& name) {
            GameOwner game = createGame(name, &map, &sink);
            random.install(game->scriptEngine());
            return game;
        },
        recorder, recorder, frontend);
    loop.timersFollowFrames();
    if (development)
        loop.setDevelopmentMode(font);
    return loop.run(arguments);
}
