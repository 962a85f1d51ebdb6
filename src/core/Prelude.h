#pragma once

#include <QString>

// The one-line block of KEY_ constants put in front of every script.
// It has no line break so the script's own line numbers stay unchanged.
QString prelude();
