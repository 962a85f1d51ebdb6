#include "runtime/Game.h"

#include "core/IncludeExpander.h"
#include "core/Letterbox.h"
#include "core/Prelude.h"
#include "core/RegularFile.h"
#include "core/ScriptLocation.h"
#include "core/TextBytes.h"
#include "objects/Circle.h"
#include "objects/Line.h"
#include "objects/Music.h"
#include "objects/OpaqueColor.h"
#include "objects/Rect.h"
#include "objects/Releasable.h"
#include "objects/ScriptArray.h"
#include "objects/ScriptWatchdog.h"
#include "objects/Sound.h"
#include "objects/Sprite.h"
#include "objects/Text.h"
#include "runtime/QGameSystem.h"
#include "runtime/ScriptJson.h"
#include "runtime/ScriptLibrary.h"
#include "runtime/WindowRequests.h"

#include <QFileInfo>
#include <QScriptEngine>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Joystick.hpp>
#include <charconv>
#include <iterator>
#include <utility>

Game::Game(const QString& path, int callTimeLimitMs, QObject* parent)
    : QObject(parent), engine(std::make_unique<QScriptEngine>()),
      watchdog(std::make_unique<ScriptWatchdog>(engine.get(), callTimeLimitMs))
{
    static const bool unbatched = qEnvironmentVariableIntValue("LEDGE_NO_BATCH") != 0;
    batch.setEnabled(!unbatched);
    installScriptLibrary(engine.get(), [this](const QString& text) { emit sendLog(text); });
    engine->globalObject().setProperty(QLatin1String(catchHook),
                                       engine->newFunction(placeCaught, this),
                                       QScriptValue::SkipInEnumeration);
    load(path);
    mousePos = engine->newObject();
    mousePos.setProperty(QStringLiteral("x"), 0, QScriptValue::KeepExistingFlags);
    mousePos.setProperty(QStringLiteral("y"), 0, QScriptValue::KeepExistingFlags);

    system = std::make_unique<QGameSystem>(engine.get(), watchdog.get());
    registerObject(QStringLiteral("game"), this);
    registerObject(QStringLiteral("system"), system.get());
}

namespace {

// Set on an error object once its place is the one in its own file.
const QString placedMark = QStringLiteral("__ledgePlaced");

} // namespace

QScriptValue Game::placeCaught(QScriptContext* context, QScriptEngine*, void* game)
{
    static_cast<Game*>(game)->placeOf(context->argument(0));
    return QScriptValue();
}

SourceLine Game::placeOf(QScriptValue error)
{
    // Only what the engine put there: no script code (a getter, a
    // toString) runs for it.
    const auto own = [&error](const QString& name) {
        const auto accessor = QScriptValue::PropertyGetter | QScriptValue::PropertySetter;
        return error.propertyFlags(name) & accessor
                   ? QScriptValue()
                   : error.property(name, QScriptValue::ResolveLocal);
    };
    if (!error.isObject() || script.files.isEmpty())
        return {};
    const QScriptValue fileValue = own(QStringLiteral("fileName"));
    const QScriptValue lineValue = own(QStringLiteral("lineNumber"));
    if (!fileValue.isString() || !lineValue.isNumber())
        return {};
    const QString file = fileValue.toString();
    const int line = lineValue.toInt32();
    if (own(placedMark).isBool())
        return {file, line};
    // The engine counts the lines of the whole text, includes put in.
    if (file != script.files.first())
        return {};
    const SourceLine at = script.locate(line);
    const auto fixed = QScriptValue::ReadOnly | QScriptValue::Undeletable;
    error.setProperty(QStringLiteral("fileName"), at.file, fixed);
    error.setProperty(QStringLiteral("lineNumber"), at.line, fixed);
    error.setProperty(placedMark, true, fixed | QScriptValue::SkipInEnumeration);
    return at;
}

void Game::load(const QString& path)
{
    const std::optional<QByteArray> bytes = readRegularFile(path, fileLimits::scriptBytes);
    if (!bytes) {
        // Errors of the entry calls still name the script.
        script.files << path;
        loadMessages << QStringLiteral("Script not found: ") + path + QStringLiteral(" (") +
                            QFileInfo(path).absoluteFilePath() + QLatin1Char(')');
        return;
    }
    script = expandScript(path, textUpToNul(*bytes), readRegularFile,
                          fileLimits::scriptBytes - bytes->size());
    // The prelude has no line break, so the script's lines keep their numbers.
    const QScriptValue result =
        watchdog->evaluate(prelude() + withCatchHook(script.text, QLatin1String(catchHook)), path);
    if (!result.isError())
        return;
    // In the whole text, as the syntax check counts.
    const int line = engine->uncaughtExceptionLineNumber();
    const QStringList place = errorPlace(result);
    const QString error = watchdog->errorText(result);
    if (error != QLatin1String("SyntaxError: Parse error")) {
        loadMessages << QStringLiteral("Error while loading ") + path + QStringLiteral(": ") + error
                     << place;
        return;
    }
    QString text = QStringLiteral("Parse error at ") + locationText(script, line);
    // The engine says no more than "Parse error"; the separate syntax check
    // often says what it expected, when it stops on the same line.
    const QScriptSyntaxCheckResult syntax = QScriptEngine::checkSyntax(script.text);
    if (syntax.errorLineNumber() == line && !syntax.errorMessage().isEmpty())
        text += QStringLiteral(": ") + syntax.errorMessage();
    const QString construct =
        newerConstructIn(script.text.section(QLatin1Char('\n'), line - 1, line - 1));
    if (!construct.isEmpty())
        text += QStringLiteral(" (") + construct +
                QStringLiteral(": not ECMAScript 5, the language of scripts)");
    loadMessages << text;
}

QStringList Game::errorPlace(const QScriptValue& error)
{
    // Taken first: whatever runs next forgets it.
    const QStringList backtrace = engine->uncaughtExceptionBacktrace();
    // A script may have put getters of its own there.
    watchdog->run([&] { raisedAt = placeOf(error); });
    QStringList place;
    if (!raisedAt.file.isEmpty())
        place << QStringLiteral("  at ") + raisedAt.file + QLatin1Char(':') +
                     QString::number(raisedAt.line);
    // Runaway recursion would print thousands of the same call.
    constexpr int shown = 20;
    const QStringList frames = stackLines(backtrace, script);
    for (const QString& frame : frames.mid(0, shown))
        place << QStringLiteral("    ") + frame;
    if (frames.size() > shown)
        place << QStringLiteral("    ... %1 more calls").arg(frames.size() - shown);
    return place;
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

    if (object == this)
        direct::install(wrapper, directCalls());
    else if (auto* sprite = qobject_cast<Sprite*>(object))
        direct::install(wrapper, sprite->directCalls());

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

direct::Slots Game::directCalls()
{
    static const direct::Slot list[] = {
        LEDGE_DIRECT(Game, Game, isKeyDown),
        LEDGE_DIRECT(Game, Game, isOneOfKeysDown),
        LEDGE_DIRECT(Game, Game, getMousePos),
        LEDGE_DIRECT(Game, Game, isLeftButtonClicked),
        LEDGE_DIRECT(Game, Game, isRightButtonClicked),
        LEDGE_DIRECT(Game, Game, getTotalTime),
        LEDGE_DIRECT(Game, Game, getFPS),
        LEDGE_DIRECT(Game, Game, isKeyHeld),
        LEDGE_DIRECT(Game, Game, isKeyReleased),
        LEDGE_DIRECT(Game, Game, isLeftButtonHeld),
        LEDGE_DIRECT(Game, Game, isRightButtonHeld),
        LEDGE_DIRECT(Game, Game, isMiddleButtonClicked),
        LEDGE_DIRECT(Game, Game, getWheelDelta),
        LEDGE_DIRECT(Game, Game, isJoystickConnected),
        LEDGE_DIRECT(Game, Game, getJoystickAxis),
        LEDGE_DIRECT(Game, Game, isJoystickButtonHeld),
        LEDGE_DIRECT(Game, Game, isJoystickButtonPressed),
    };
    return {list, int(std::size(list))};
}

void Game::registerObject(const QString& name, QObject* object)
{
    engine->globalObject().setProperty(name, wrap(object), QScriptValue::KeepExistingFlags);
}

bool Game::callScript(const QString& callText)
{
    lastError_.clear();
    return ended(callText, watchdog->evaluate(callText));
}

bool Game::ended(const QString& callText, const QScriptValue& result)
{
    if (result.isError()) {
        const QStringList place = errorPlace(result);
        const QString message = QStringLiteral("ОШИБКА функции ") + callText +
                                QStringLiteral(": ") + watchdog->errorText(result);
        emit sendLog(message);
        emit scriptError(message, raisedAt.file.isEmpty() ? script.files.value(0) : raisedAt.file,
                         raisedAt.line);
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
    // The script gets dt as the number its text in the call's name reads as:
    // six significant digits, rounded in a buffer on the stack.
    char digits[32];
    const char* end =
        std::to_chars(digits, digits + sizeof digits, dt, std::chars_format::general, 6).ptr;
    double rounded = dt;
    std::from_chars(digits, end, rounded);
    lastError_.clear();
    engine->pushContext()->activationObject().setProperty(QStringLiteral("dt"),
                                                          QScriptValue(engine.get(), rounded));
    const QScriptValue result = watchdog->evaluate(frameCall);
    engine->popContext();
    // The call's text is only for a message.
    const QString callText =
        result.isError() ? QStringLiteral("Frame(") + QString::number(dt, 'g', 6) + QLatin1Char(')')
                         : QString();
    const bool ok = ended(callText, result);
    input.clearKeys();
    return ok;
}

bool Game::callRender(sf::RenderTarget* renderTarget)
{
    // Sprites drawn since the last render step are drawn before the clear,
    // which wipes them as it always has.
    batch.setTarget(renderTarget);
    batch.flush();
    if (renderTarget)
        renderTarget->clear(backgroundColor);
    lastError_.clear();
    const bool ok = ended(QStringLiteral("Render()"), watchdog->evaluate(renderCall));
    // What Render() drew is all on the target when the frame is shown.
    batch.flush();
    return ok;
}

sf::RenderTarget* Game::renderTarget()
{
    batch.flush();
    return batch.target();
}

void Game::drawSprite(const sf::Sprite& picture)
{
    batch.draw(picture);
}

void Game::flushSprites()
{
    batch.flush();
}

QString Game::pendingParamsText()
{
    QString text;
    watchdog->run([&] { text = scriptValueToJson(pendingParams_); });
    return watchdog->aborted() ? QString() : text;
}

void Game::releaseAll()
{
    releasing = true;
    // Whatever was drawn since the last render step is wiped by the next
    // clear anyway, and its textures go now.
    batch.discard();
    system->stopAllTimers();
    qDeleteAll(sounds);
    sounds.clear();
    qDeleteAll(musics);
    musics.clear();
    qDeleteAll(texts);
    texts.clear();
    qDeleteAll(lines);
    lines.clear();
    qDeleteAll(rects);
    rects.clear();
    qDeleteAll(circles);
    circles.clear();
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

bool Game::isKeyHeld(int keycode)
{
    return input.isKeyHeld(keycode);
}

bool Game::isKeyReleased(int keycode)
{
    return input.isKeyReleased(keycode);
}

bool Game::isLeftButtonHeld()
{
    return input.isButtonHeld(InputState::Left);
}

bool Game::isRightButtonHeld()
{
    return input.isButtonHeld(InputState::Right);
}

bool Game::isMiddleButtonClicked()
{
    return input.takeClick(InputState::Middle);
}

double Game::getWheelDelta()
{
    return double(input.wheelDelta());
}

namespace {

// The window library reads past its tables for indices it does not know.
bool knownPad(int i)
{
    return i >= 0 && unsigned(i) < sf::Joystick::Count && sf::Joystick::isConnected(unsigned(i));
}

} // namespace

bool Game::isJoystickConnected(int i)
{
    return knownPad(i);
}

double Game::getJoystickAxis(int i, int axis)
{
    if (!knownPad(i) || axis < 0 || axis >= int(sf::Joystick::AxisCount))
        return 0.0;
    const auto which = sf::Joystick::Axis(axis);
    if (!sf::Joystick::hasAxis(unsigned(i), which))
        return 0.0;
    return double(sf::Joystick::getAxisPosition(unsigned(i), which));
}

bool Game::isJoystickButtonHeld(int i, int button)
{
    return knownPad(i) && button >= 0 &&
           unsigned(button) < sf::Joystick::getButtonCount(unsigned(i)) &&
           sf::Joystick::isButtonPressed(unsigned(i), unsigned(button));
}

bool Game::isJoystickButtonPressed(int i, int button)
{
    return input.isPadButtonPressed(i, button);
}

QScriptValue Game::getWindowSize()
{
    const sf::Vector2u size =
        window ? window->windowSize() : sf::Vector2u(drawingWidth, drawingHeight);
    QScriptValue result = engine->newObject();
    result.setProperty(QStringLiteral("width"), size.x);
    result.setProperty(QStringLiteral("height"), size.y);
    return result;
}

void Game::setFullscreen(bool on)
{
    if (window)
        window->setFullscreen(on);
}

namespace {

template <typename T> bool removeFrom(QList<T*>& list, QObject* object)
{
    T* item = dynamic_cast<T*>(object);
    return item && list.removeOne(item);
}

} // namespace

bool Game::forget(QObject* object)
{
    return removeFrom(sprites, object) || removeFrom(texts, object) || removeFrom(lines, object) ||
           removeFrom(rects, object) || removeFrom(circles, object) || removeFrom(sounds, object) ||
           removeFrom(musics, object);
}

void Game::release(QScriptValue obj)
{
    // Only what this Game made and still holds: never the game, system or
    // map objects, never twice.
    auto* object = dynamic_cast<Releasable*>(obj.toQObject());
    if (!object || !forget(object))
        return;
    object->release();
    // What is left is small and stays as long as the script can reach it:
    // the engine deletes it with the wrapper, which it now owns. That
    // deletion is the engine's own, so it need not hear of it.
    QObject::disconnect(object, SIGNAL(destroyed(QObject*)), engine.get(), nullptr);
    engine->newQObject(obj, object, QScriptEngine::ScriptOwnership,
                       QScriptEngine::ExcludeDeleteLater);
}

void Game::goToScript(QString scriptname)
{
    goToScript(scriptname, QScriptValue());
}
