#pragma once

#include "core/IncludeExpander.h"

#include <QString>
#include <QStringList>

// "file:line" of an expanded line, as it stands in its own file.
QString locationText(const ExpandedScript& script, int expandedLine);

// The engine's backtrace ("f() at scripts/main.js:12", innermost first) as
// one line per frame of the script, "f() at scripts/lib.js:3"; frames of
// the host's own call text, which has no file, are left out.
QStringList stackLines(const QStringList& backtrace, const ExpandedScript& script);

// The later-language construct a line that failed to parse most likely
// uses ("arrow function", ...); empty when it shows none.
QString newerConstructIn(const QString& line);

// The text with a call of hook(e) put first into every `catch (e) {` block
// of its code (not of its strings, comments or regular expressions), on the
// same line, so every line keeps its number: the hook gives the error a
// script catches its place in its own file.
QString withCatchHook(const QString& text, const QString& hook);
