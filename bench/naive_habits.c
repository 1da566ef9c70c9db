/* The benchmark's reference: preloaded into the real game, it gives the game two costly habits,
 * so that the benchmark shows what its instruments read on them, in the same run:
 *   - a pause spins on the clock until its time has come, instead of sleeping;
 *   - every byte for the terminal goes out in a write of its own, instead of one per screen.
 * Only the game's own calls are caught: its pauses call clock_nanosleep, its output calls write
 * on standard output. The sound library's sleeps and everything else are left alone.
 *
 *   cc -shared -fPIC -O2 -o naive_habits.so naive_habits.c -ldl
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <time.h>
#include <unistd.h>

typedef int ClockNanosleep(clockid_t, int, const struct timespec*, struct timespec*);
typedef ssize_t Write(int, const void*, size_t);

static int isBefore(const struct timespec* a, const struct timespec* b)
{
    return a->tv_sec < b->tv_sec || (a->tv_sec == b->tv_sec && a->tv_nsec < b->tv_nsec);
}

int clock_nanosleep(clockid_t clock, int flags, const struct timespec* request, struct timespec* remaining)
{
    /* A sleep of no time at all: it marks where the pause began for a system-call tracer,
     * which sees nothing of the spin itself (the clock is read without a system call). */
    ClockNanosleep* sleepNow = (ClockNanosleep*)dlsym(RTLD_NEXT, "clock_nanosleep");
    const struct timespec nothing = {0, 0};
    sleepNow(clock, 0, &nothing, NULL);

    struct timespec target = *request;
    if (!(flags & TIMER_ABSTIME)) {
        struct timespec now;
        clock_gettime(clock, &now);
        target.tv_sec += now.tv_sec;
        target.tv_nsec += now.tv_nsec;
        if (target.tv_nsec >= 1000000000L) {
            target.tv_sec += 1;
            target.tv_nsec -= 1000000000L;
        }
    }
    struct timespec now;
    do
        clock_gettime(clock, &now);
    while (isBefore(&now, &target));
    if (remaining != NULL && !(flags & TIMER_ABSTIME))
        remaining->tv_sec = remaining->tv_nsec = 0;
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
