#include <cerrno>
#include <cstdio>

#include "console.h"
#include "stream.h"

namespace console {

namespace {
// The reason of the first failed flush. Later failures usually repeat it, and errno itself
// is long overwritten by the time the program ends.
int write_error = 0;
}  // namespace

void flush_output() {
    if (std::fflush(stdout) != 0 && write_error == 0)
        write_error = errno != 0 ? errno : EIO;
}

int exit_status(const char* program) {
    flush_output();
    if (write_error == 0 && !std::ferror(stdout))
        return 0;
    // perror writes "<prefix>: <reason>\n" to standard error. A failure inside printf itself,
    // not in one of our flushes, leaves no reason behind.
    char prefix[128];
    std::snprintf(prefix, sizeof prefix, "%s: write error", program);
    errno = write_error != 0 ? write_error : EIO;
    std::perror(prefix);
    return 1;
}

}  // namespace console
