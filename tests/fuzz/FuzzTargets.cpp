#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

void fuzz::check(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
