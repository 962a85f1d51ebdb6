#include "app/play/PrivateDisplay.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

PrivateDisplay::~PrivateDisplay()
{
    if (server <= 0)
        return;
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
}

QString PrivateDisplay::start()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return QStringLiteral("no pipe for Xvfb");
    server = fork();
    if (server < 0)
        return QStringLiteral("cannot start Xvfb");
    if (server == 0) {
        // The server picks a free display number and writes it to the pipe.
        close(pipeEnds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        const std::string fd = std::to_string(pipeEnds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string number;
    char c;
    ssize_t got;
    while ((got = read(pipeEnds[0], &c, 1)) == 1 || (got < 0 && errno == EINTR))
        if (got == 1 && c != '\n')
            number += c;
        else if (got == 1)
            break;
    close(pipeEnds[0]);
    if (number.empty()) {
        waitpid(server, nullptr, 0);
        server = -1;
        return QStringLiteral("Xvfb did not start (is the xvfb package installed?)");
    }
    display = QStringLiteral(":") + QString::fromStdString(number);
    setenv("DISPLAY", display.toUtf8().constData(), 1);
    return QString();
}
