#include "runtime/Game.h"

#include "core/IncludeExpander.h"
#include "core/Prelude.h"
#include "core/ScriptLocation.h"
#include "objects/Line.h"
#include "objects/OpaqueColor.h"
#include "objects/Rect.h"
#include "objects/ScriptArray.h"
#include "objects/Sound.h"
#include "objects/Sprite.h"
#include "objects/Text.h"
#include "runtime/QGameSystem.h"
#include "runtime/ScriptLibrary.h"
#include "runtime/ScriptWatchdog.h"

#include <QFileInfo>
#include <QScriptEngine>
#include <SFML/Graphics/RenderTarget.hpp>
#include <utility>

namespace {

// A call that runs this long is taken to be stuck and is ended with an error.
int callTimeLimitMs = 20000;

} // namespace

Game::Game(const QString& path, QObject* parent)
    : QObject(parent), engine(std::make_unique<QScriptEngine>()),
      watchdog(std::make_unique<ScriptWatchdog>(engine.get(), callTimeLimitMs))
{
    installScriptLibrary(engine.get(), [this](const QString& text) { emit sendLog(text); });
    load(path);
    mousePos = engine->newObject();
    mousePos.setProperty(QStringLiteral("x"), 0, QScriptValue::KeepExistingFlags);
    mousePos.setProperty(QStringLiteral("y"), 0, QScriptValue::KeepExistingFlags);

    system = std::make_unique<QGameSystem>(engine.get());
    registerObject(QStringLiteral("game"), this);
    registerObject(QStringLiteral("system"), system.get());
}

void Game::load(const QString& path)
{
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        loadMessages << QStringLiteral("Script not found: ") + path + QStringLiteral(" (") +
                            QFileInfo(path).absoluteFilePath() + QLatin1Char(')');
        return;
    }
    script = expandScript(path, scriptTextFromBytes(*bytes), readWholeFile);
    const QScriptSyntaxCheckResult syntax = QScriptEngine::checkSyntax(script.text);
    if (syntax.state() == QScriptSyntaxCheckResult::Error) {
        QString text =
            QStringLiteral("Parse error at ") + locationText(script, syntax.errorLineNumber());
        if (!syntax.errorMessage().isEmpty())
            text += QStringLiteral(": ") + syntax.errorMessage();
        const QString line = script.text.section(QLatin1Char('\n'), syntax.errorLineNumber() - 1,
                                                 syntax.errorLineNumber() - 1);
        const QString construct = newerConstructIn(line);
        if (!construct.isEmpty())
            text += QStringLiteral(" (") + construct +
                    QStringLiteral(": not ECMAScript 5, the language of scripts)");
        loadMessages << text;
        return;
    }
    // The prelude has no line break, so the script's lines keep their numbers.
    watchdog->begin();
    const QScriptValue result = engine->evaluate(prelude() + script.text, path, 1);
    watchdog->end();
    if (result.isError())
        loadMessages << QStringLiteral("Error while loading ") + path + QStringLiteral(": ") +
                            result.toString()
                     << errorPlace(result);
}

QStringList Game::errorPlace(const QScriptValue& error) const
{
    QStringList place;
    const QString file = error.property(QStringLiteral("fileName")).toString();
    const int line = error.property(QStringLiteral("lineNumber")).toInt32();
    if (!file.isEmpty() && !script.files.isEmpty() && file == script.files.first())
        place << QStringLiteral("  at ") + locationText(script, line);
    for (const QString& frame : stackLines(engine->uncaughtExceptionBacktrace(), script))
        place << QStringLiteral("    ") + frame;
    return place;
}

void Game::setCallTimeLimitMs(int ms)
{
    callTimeLimitMs = ms;
}

Game::~Game() = default;

void GameRelease::operator()(Game* game) const
{
    game->releaseAll();
    delete game;
}

QScriptValue Game::wrap(QObject* object)
{
    // Scripts cannot delete what the Game owns, nor reach the system
    // object's timers as its children.
    QScriptValue wrapper =
        engine->newQObject(object, QScriptEngine::QtOwnership, QScriptEngine::ExcludeDeleteLater);
    QScriptValue prototype = wrapper.prototype();
    prototype.setProperty(QStringLiteral("findChild"), QScriptValue());
    prototype.setProperty(QStringLiteral("findChildren"), QScriptValue());

    // The engine forgets a wrapped object when its destroyed() signal
    // arrives, and scripts can emit that signal themselves: a faked one
    // would crash the engine or leave it with a dangling object. Only real
    // destructions, which happen in releaseAll, reach it. (Game, system and
    // map are destroyed after the engine, which cuts this connection.)
    const bool tracked = QObject::disconnect(object, SIGNAL(destroyed(QObject*)), engine.get(),
                                             SLOT(_q_objectDestroyed(QObject*)));
    if (tracked)
        connect(object, &QObject::destroyed, engine.get(), [this](QObject* gone) {
            if (releasing)
                QMetaObject::invokeMethod(engine.get(), "_q_objectDestroyed", Qt::DirectConnection,
                                          Q_ARG(QObject*, gone));
        });
    return wrapper;
}

void Game::registerObject(const QString& name, QObject* object)
{
    engine->globalObject().setProperty(name, wrap(object), QScriptValue::KeepExistingFlags);
}

bool Game::callScript(const QString& callText)
{
    lastError_.clear();
    watchdog->begin();
    const QScriptValue result = engine->evaluate(callText, QString(), 1);
    watchdog->end();
    if (result.isError()) {
        const QString message =
            QStringLiteral("ОШИБКА функции ") + callText + QStringLiteral(": ") + result.toString();
        emit sendLog(message);
        const QStringList place = errorPlace(result);
        for (const QString& line : place)
            emit sendLog(line);
        lastError_ = (QStringList{message} + place).join(QLatin1Char('\n'));
        return false;
    }
    if (result.isBool() && !result.toBool()) {
        emit sendLog(QStringLiteral("Игра остановлена"));
        return false;
    }
    return true;
}

bool Game::callInit(const QString& paramsText)
{
    for (const QString& message : std::exchange(loadMessages, {}))
        emit sendLog(message);
    return callScript(QStringLiteral("Init(") + paramsText + QLatin1Char(')'));
}

bool Game::callFrame(double dt)
{
    // Index loop: a sprite's update must not see the list change under it.
    for (int i = 0; i < sprites.size(); ++i)
        sprites.at(i)->update(dt);
    stats.advance(dt);
    const bool ok =
        callScript(QStringLiteral("Frame(") + QString::number(dt, 'g', 6) + QLatin1Char(')'));
    input.clearKeys();
    return ok;
}

bool Game::callRender(sf::RenderTarget* renderTarget)
{
    target = renderTarget;
    if (target)
        target->clear(backgroundColor);
    return callScript(QStringLiteral("Render()"));
}

void Game::releaseAll()
{
    releasing = true;
    system->stopAllTimers();
    qDeleteAll(sounds);
    sounds.clear();
    qDeleteAll(texts);
    texts.clear();
    qDeleteAll(lines);
    lines.clear();
    qDeleteAll(rects);
    rects.clear();
    qDeleteAll(sprites);
    sprites.clear();
}

void Game::setMousePos(int x, int y)
{
    mousePos.setProperty(QStringLiteral("x"), x, QScriptValue::KeepExistingFlags);
    mousePos.setProperty(QStringLiteral("y"), y, QScriptValue::KeepExistingFlags);
}

bool Game::isKeyDown(int keycode)
{
    return input.isKeyDown(keycode);
}

bool Game::isOneOfKeysDown(QScriptValue arr)
{
    if (!arr.isArray())
        return false;
    bool down = false;
    forEachElement(arr, [&](const QScriptValue& key) {
        down = input.isKeyDown(key.toInt32());
        return !down;
    });
    return down;
}

QScriptValue Game::getMousePos()
{
    return mousePos;
}

bool Game::isLeftButtonClicked()
{
    return input.takeLeftClick();
}

bool Game::isRightButtonClicked()
{
    return input.takeRightClick();
}

void Game::setGameTitle(QString title)
{
    emit sendTitle(title);
}

double Game::getTotalTime()
{
    return stats.totalTime;
}

int Game::getFPS()
{
    return stats.fps;
}

void Game::resetTotalTime()
{
    stats.totalTime = 0.0;
}

void Game::setBackgroundColor(int r, int g, int b)
{
    backgroundColor = opaqueColor(r, g, b);
}

void Game::goToScript(QString scriptname, QScriptValue params)
{
    pendingScript_ = scriptname;
    pendingParams_ = params;
}

void Game::goToScript(QString scriptname)
{
    goToScript(scriptname, QScriptValue());
}
