#pragma once

#include <QString>
#include <vector>

// A KEY_ constant: the name after "KEY_" and its key code.
struct KeyName {
    QString name;
    int code;
};

// Every KEY_ constant, in the order the prelude declares them.
const std::vector<KeyName>& keyNames();

// The one-line block of KEY_ constants put in front of every script.
// It has no line break so the script's own line numbers stay unchanged.
QString prelude();
