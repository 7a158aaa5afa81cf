// Preloaded: notes "CALL PATH;" in $QEL_CALLS for file calls below $QEL_WATCH; fails $QEL_FAIL.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#define REAL(f) ((__typeof__(&f))dlsym(RTLD_NEXT, #f))
static int note(const char* call, int fd, const char* path) {
    char link[64], target[4096] = "", seen[4200];
    const char *watch = getenv("QEL_WATCH"), *fail = getenv("QEL_FAIL");
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (!path && readlink(link, target, sizeof target - 1) > 0) path = target;
    if (!watch || !path || strncmp(path, watch, strlen(watch))) return 0;
    snprintf(seen, sizeof seen, "%s user%s;", call, path + strlen(watch));
    FILE* log = fopen(getenv("QEL_CALLS"), "a"); fputs(seen, log), fclose(log);
    return fail && !strcmp(seen, fail) ? (errno = EIO) : 0;
}
ssize_t write(int fd, const void* b, size_t n) { note("write", fd, 0); return REAL(write)(fd, b, n); }
int fsync(int fd) { return note("sync", fd, 0) ? -1 : REAL(fsync)(fd); }
int fdatasync(int fd) { return note("sync", fd, 0) ? -1 : REAL(fdatasync)(fd); }
int unlink(const char* path) { note("unlink", -1, path); return REAL(unlink)(path); }
int linkat(int a, const char* from, int b, const char* to, int flags) {
    return note("rename", -1, to), REAL(linkat)(a, from, b, to, flags);
}
int rename(const char* from, const char* to) {
    if (note("rename", -1, to) && access(to, F_OK) == 0) raise(SIGKILL);
    return REAL(rename)(from, to);
}
