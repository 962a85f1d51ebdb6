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
