// ledge-play: runs a game without a person or a screen, frame for frame the
// same in every run, for tests and bug reports. See "Testing your game" in
// README.md for the options.
#include "app/CreateGame.h"
#include "app/EventSource.h"
#include "app/ExtProc.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/FrameTarget.h"
#include "app/SessionRecorder.h"
#include "app/play/PrivateDisplay.h"
#include "core/InputScript.h"
#include "runtime/MapViewer.h"
#include "runtime/QGameSystem.h"
#include "runtime/SeededRandom.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <cstdio>
#include <map>

namespace {

// Exit codes besides the game's own 0 and 1.
constexpr int errorsSeen = 2;
constexpr int playFailed = 3;

const char usage[] =
    "usage: ledge-play [options] GAME_DIR [-- ARGS for Init]\n"
    "  --frames N           run N frames, then end as if the window were closed\n"
    "  --dt SECONDS         the dt of every frame (default 1/60)\n"
    "  --seed N             the seed of Math.random (default 1)\n"
    "  --input FILE         input events by frame: \"120 key RIGHT\", \"200 mouse 400 300\",\n"
    "                       \"200 click left\"\n"
    "  --replay FILE        play back a recording made with LEDGE_RECORD=FILE ledge\n"
    "  --shot FRAME:FILE    write the picture after that frame as PNG (repeatable)\n"
    "  --shot-every N:DIR   write DIR/frame-NNNNNN.png after every Nth frame\n"
    "  --report FILE        write frames, exit code, messages and errors as JSON\n"
    "  --fail-on-error      exit with 2 when a script error was printed\n"
    "  --audio FILE.wav     write the sound to a wave file (silent otherwise)\n"
    "exit code: the game's (0, or 1 when an Init failed); 2 with --fail-on-error after\n"
    "an error; 3 when the command line or a file given is wrong (nothing ran) or a\n"
    "picture or the report could not be written\n";

struct Options {
    QString gameDir;
    QStringList gameArgs;
    long long frames = -1;
    float dt = 1.0f / 60.0f;
    quint64 seed = 1;
    bool seedGiven = false;
    QString input;
    QString replay;
    std::map<long long, QStringList> shots;
    long long shotEvery = 0;
    QString shotDir;
    QString report;
    bool failOnError = false;
    QString audio;
};

void say(const QString& text)
{
    std::fprintf(stderr, "ledge-play: %s\n", text.toLocal8Bit().constData());
}

// Splits "N:REST" with N a whole number from 1; false when it is not one.
bool frameAndPath(const QString& value, long long* frame, QString* path)
{
    const int colon = value.indexOf(QLatin1Char(':'));
    bool ok = false;
    *frame = colon > 0 ? value.left(colon).toLongLong(&ok) : 0;
    *path = value.mid(colon + 1);
    return ok && *frame >= 1 && !path->isEmpty();
}

// Paths are taken where the program was started, before it moves into the game.
QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// An error text when the command line is wrong.
QString parseOptions(const QStringList& args, Options* o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--")) {
            o->gameArgs = args.mid(i + 1);
            break;
        }
        if (a == QLatin1String("--fail-on-error")) {
            o->failOnError = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o->gameDir.isEmpty())
                return QStringLiteral("one game directory only, not ") + a;
            o->gameDir = a;
            continue;
        }
        if (i + 1 >= args.size())
            return a + QStringLiteral(" needs a value");
        const QString v = args[++i];
        bool ok = true;
        long long frame = 0;
        QString path;
        if (a == QLatin1String("--frames")) {
            o->frames = v.toLongLong(&ok);
            ok = ok && o->frames >= 0;
        } else if (a == QLatin1String("--dt")) {
            o->dt = v.toFloat(&ok);
            ok = ok && o->dt >= 0.0f;
        } else if (a == QLatin1String("--seed")) {
            o->seed = v.toULongLong(&ok);
            o->seedGiven = true;
        } else if (a == QLatin1String("--input")) {
            o->input = absolute(v);
        } else if (a == QLatin1String("--replay")) {
            o->replay = absolute(v);
        } else if (a == QLatin1String("--shot")) {
            ok = frameAndPath(v, &frame, &path);
            o->shots[frame] << absolute(path);
        } else if (a == QLatin1String("--shot-every")) {
            ok = frameAndPath(v, &o->shotEvery, &path);
            o->shotDir = absolute(path);
        } else if (a == QLatin1String("--report")) {
            o->report = absolute(v);
        } else if (a == QLatin1String("--audio")) {
            o->audio = absolute(v);
        } else {
            return QStringLiteral("unknown option ") + a;
        }
        if (!ok)
            return QStringLiteral("bad value for ") + a + QStringLiteral(": ") + v;
    }
    if (o->gameDir.isEmpty())
        return QStringLiteral("no game directory given");
    if (!o->input.isEmpty() && !o->replay.isEmpty())
        return QStringLiteral("--input and --replay cannot go together");
    return QString();
}

// What the run printed, frame by frame, for the report.
struct Log {
    long long frame = 0;
    QJsonArray messages;
    QJsonArray errors;

    void message(const QString& text)
    {
        messages.append(
            QJsonObject{{QStringLiteral("frame"), frame}, {QStringLiteral("text"), text}});
    }
    void error(const QString& script, const QString& text, int line)
    {
        errors.append(QJsonObject{{QStringLiteral("frame"), frame},
                                  {QStringLiteral("text"), text},
                                  {QStringLiteral("script"), script},
                                  {QStringLiteral("line"), line}});
    }
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

// OpenAL reads its configuration once, when the first sound opens the device.
bool chooseAudio(const QTemporaryDir& dir, const QString& wave)
{
    const QString conf = dir.filePath(QStringLiteral("alsoft.conf"));
    const QByteArray text =
        wave.isEmpty()
            ? QByteArray("[general]\ndrivers=null\n")
            : QStringLiteral("[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                             "frequency=44100\n[wave]\nfile=%1\n")
                  .arg(wave)
                  .toUtf8();
    if (!writeFile(conf, text))
        return false;
    qputenv("ALSOFT_CONF", conf.toUtf8());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Saves go where the game's own program keeps them.
    QCoreApplication::setApplicationName(QStringLiteral("ledge"));
    Options o;
    const QString wrong = parseOptions(app.arguments(), &o);
    if (!wrong.isEmpty()) {
        say(wrong);
        std::fputs(usage, stderr);
        return playFailed;
    }

    InputScript input;
    const QString inputPath = o.replay.isEmpty() ? o.input : o.replay;
    if (!inputPath.isEmpty()) {
        QFile file(inputPath);
        if (!file.open(QIODevice::ReadOnly)) {
            say(QStringLiteral("cannot read ") + inputPath);
            return playFailed;
        }
        input = parseInputScript(QString::fromUtf8(file.readAll()));
        if (!input.error.isEmpty()) {
            say(inputPath + QStringLiteral(", ") + input.error +
                QStringLiteral("; nothing was run"));
            return playFailed;
        }
    }
    const std::vector<float> steps = frameSteps(input, o.dt);
    if (!o.replay.isEmpty() && o.frames < 0)
        o.frames = (long long)steps.size();
    const quint64 seed = !o.seedGiven && input.hasSeed ? input.seed : o.seed;

    if (!o.shotDir.isEmpty() && !QDir().mkpath(o.shotDir)) {
        say(QStringLiteral("cannot make ") + o.shotDir);
        return playFailed;
    }
    const QString gameDir = absolute(o.gameDir);
    if (!QFileInfo(gameDir).isDir()) {
        say(QStringLiteral("no game directory ") + gameDir);
        return playFailed;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid() || !chooseAudio(scratch, o.audio)) {
        say(QStringLiteral("cannot set up the sound output"));
        return playFailed;
    }
    PrivateDisplay display;
    if (qEnvironmentVariable("DISPLAY").isEmpty()) {
        const QString failed = display.start();
        if (!failed.isEmpty()) {
            say(failed);
            return playFailed;
        }
        say(QStringLiteral("DISPLAY is not set; started a private Xvfb on ") + display.name());
    }
    QDir::setCurrent(gameDir);

    sf::RenderTexture texture;
    if (!texture.create(800, 600)) {
        say(QStringLiteral("cannot make an off-screen picture"));
        return playFailed;
    }
    ExtProc sink(nullptr);
    MapViewer map(&texture);
    Log log;
    SeededRandom random(seed);
    map.drawSpawnPointsFrom(&random);
    FixedStepClock clock(o.dt, steps);
    ScriptedEvents events(eventFrames(input));
    TextureTarget target(texture);
    FrameLoop loop(
        [&](const QString& name) {
            GameOwner game = createGame(name, &map, &sink);
            random.install(game->scriptEngine());
            auto message = [&log](const QString& text) { log.message(text); };
            QObject::connect(game.get(), &Game::sendLog, message);
            QObject::connect(game->systemObject(), &QGameSystem::writeMessage, message);
            QObject::connect(game.get(), &Game::scriptError,
                             [&log](const QString& text, const QString& file, int line) {
                                 log.error(file, text, line);
                             });
            return game;
        },
        clock, events, target);
    loop.timersFollowFrames();

    // Init sees the program as "0" and the arguments after "--".
    QStringList initArgs{app.arguments().value(0)};
    initArgs << o.gameArgs;
    bool failedWrite = false;
    std::optional<int> code;
    if (!loop.start(initArgs))
        code = 1;
    while (!code) {
        if (o.frames >= 0 && log.frame >= o.frames) {
            events.close();
            code = loop.step();
            break;
        }
        ++log.frame;
        code = loop.step();
        if (code)
            break;
        QStringList files = o.shots.count(log.frame) ? o.shots[log.frame] : QStringList();
        if (o.shotEvery > 0 && log.frame % o.shotEvery == 0)
            files << o.shotDir +
                         QStringLiteral("/frame-%1.png").arg(log.frame, 6, 10, QLatin1Char('0'));
        if (files.isEmpty())
            continue;
        const sf::Image picture = texture.getTexture().copyToImage();
        for (const QString& file : files)
            if (!picture.saveToFile(file.toStdString())) {
                say(QStringLiteral("cannot write ") + file);
                failedWrite = true;
            }
    }
    for (const auto& shot : o.shots)
        if (shot.first > log.frame)
            say(QStringLiteral("the run ended before frame %1: no %2")
                    .arg(shot.first)
                    .arg(shot.second.join(QStringLiteral(", "))));

    int exitCode = *code;
    if (o.failOnError && !log.errors.isEmpty())
        exitCode = errorsSeen;
    if (!o.report.isEmpty()) {
        const QJsonObject report{{QStringLiteral("frames"), log.frame},
                                 {QStringLiteral("exitCode"), exitCode},
                                 {QStringLiteral("messages"), log.messages},
                                 {QStringLiteral("errors"), log.errors}};
        if (!writeFile(o.report, QJsonDocument(report).toJson())) {
            say(QStringLiteral("cannot write ") + o.report);
            failedWrite = true;
        }
    }
    return failedWrite ? playFailed : exitCode;
}
