/* The benchmark's reference: preloaded into the real game, it gives the game two costly habits,
 * so that the benchmark shows what its instruments read on them, in the same run:
 *   - a pause spins on the clock until its time has come, instead of sleeping;
 *   - every byte for the terminal goes out in a write of its own, instead of one per screen.
 * Only the game's own calls are caught: a pause is its poll() of one descriptor (the pipe that
 * wakes it for a repaint) with a time limit, its output is write() on standard output. Waits
 * for keys, the sound library's sleeps and everything else are left alone.
 *
 *   cc -shared -fPIC -O2 -o naive_habits.so naive_habits.c -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

typedef int Poll(struct pollfd*, nfds_t, int);
typedef ssize_t Write(int, const void*, size_t);

static int isBefore(const struct timespec* a, const struct timespec* b)
{
    return a->tv_sec < b->tv_sec || (a->tv_sec == b->tv_sec && a->tv_nsec < b->tv_nsec);
}

int poll(struct pollfd* fds, nfds_t count, int limitMs)
{
    Poll* pollNow = (Poll*)dlsym(RTLD_NEXT, "poll");
    if (count != 1 || limitMs < 0)
        return pollNow(fds, count, limitMs);

    /* A look without waiting: it marks where the pause began for a system-call tracer, which
     * sees nothing of the spin itself (the clock is read without a system call). */
    pollNow(fds, count, 0);

    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    struct timespec target = {now.tv_sec + limitMs / 1000, now.tv_nsec + (limitMs % 1000) * 1000000L};
    if (target.tv_nsec >= 1000000000L) {
        target.tv_sec += 1;
        target.tv_nsec -= 1000000000L;
    }
    do
        clock_gettime(CLOCK_MONOTONIC, &now);
    while (isBefore(&now, &target));
    fds[0].revents = 0;
    return 0;
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    Write* writeNow = (Write*)dlsym(RTLD_NEXT, "write");
    if (fd != STDOUT_FILENO)
        return writeNow(fd, buffer, count);
    const char* bytes = buffer;
    size_t written = 0;
    while (written < count) {
        const ssize_t result = writeNow(fd, bytes + written, 1);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return written > 0 ? (ssize_t)written : result;
        written += (size_t)result;
    }
    return (ssize_t)written;
}
