#pragma once

#include <QString>
#include <sys/types.h>

// A virtual X server of this process's own (Xvfb), for a machine with no
// display: the graphics library needs one even to draw off screen.
class PrivateDisplay {
public:
    PrivateDisplay() = default;
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Starts the server and points DISPLAY at it; an error text on failure.
    QString start();
    QString name() const { return display; }

private:
    pid_t server = -1;
    QString display;
};
