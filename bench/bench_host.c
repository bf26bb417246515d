/* A small C host, as a host program would be: loads the library by path and either runs one
 * query several times into the same buffer, or runs single-row INSERTs in one transaction.
 *
 *   orvanta-bench-host LIBRARY DATABASE query REPEATS BUFFER-CHARS
 *   orvanta-bench-host LIBRARY DATABASE inserts COUNT
 *
 * Prints one line per timed call: "call <seconds> <records> <page faults>".
 */
#include <dlfcn.h>
#include <sys/resource.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <uchar.h>

typedef int (*OpenFunction)(const char16_t*, const char16_t*);
typedef int (*ExecuteFunction)(const char16_t*);
typedef int (*QueryFunction)(const char16_t*, char16_t*);
typedef void (*CloseFunction)(void);

static long PageFaults(void) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* ASCII only: enough for the benchmark's statements. */
static char16_t* Widen(const char* text) {
    size_t length = strlen(text);
    char16_t* wide = malloc((length + 1) * sizeof(char16_t));
    for (size_t i = 0; i <= length; ++i) wide[i] = (unsigned char)text[i];
    return wide;
}

int main(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: %s LIBRARY DATABASE query REPEATS BUFFER-CHARS | inserts COUNT\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    OpenFunction open = (OpenFunction)dlsym(library, "fnDBOpen");
    ExecuteFunction execute = (ExecuteFunction)dlsym(library, "fnDBExecute");
    QueryFunction query = (QueryFunction)dlsym(library, "fnDBExecuteQuery");
    CloseFunction close = (CloseFunction)dlsym(library, "fnDBClose");

    char connection[4096];
    snprintf(connection, sizeof connection, "Provider=SQLite;Data Source=%s", argv[2]);
    char16_t* wideConnection = Widen(connection);
    if (open(NULL, wideConnection) != 1) {
        fprintf(stderr, "open failed\n");
        return 1;
    }

    if (strcmp(argv[3], "query") == 0 && argc >= 6) {
        int repeats = atoi(argv[4]);
        /* Sized for the whole block; pages the library does not write are never touched. */
        size_t chars = strtoull(argv[5], NULL, 10);
        char16_t* buffer = malloc(chars * sizeof(char16_t));
        char16_t* sql = Widen("SELECT * FROM bench");
        for (int i = 0; i < repeats; ++i) {
            long faults = PageFaults();
            double start = Now();
            int records = query(sql, buffer);
            printf("call %.6f %d %ld\n", Now() - start, records, PageFaults() - faults);
        }
        /* A checksum of the last block, to compare with the floor's. */
        uint64_t hash = 1469598103934665603ULL;
        for (size_t i = 0; buffer[i] != 0; ++i) hash = (hash ^ buffer[i]) * 1099511628211ULL;
        printf("hash %016llx\n", (unsigned long long)hash);
        free(sql);
        free(buffer);
    } else if (strcmp(argv[3], "inserts") == 0) {
        int count = atoi(argv[4]);
        char16_t* begin = Widen("BEGIN");
        char16_t* commit = Widen("COMMIT");
        execute(Widen("CREATE TABLE IF NOT EXISTS inserted(id INTEGER, name TEXT, value REAL)"));
        double start = Now();
        execute(begin);
        char statement[256];
        char16_t wide[256];
        for (int i = 0; i < count; ++i) {
            int length = snprintf(statement, sizeof statement,
                                  "INSERT INTO inserted VALUES (%d, 'name %d', %d.25)", i, i, i);
            for (int k = 0; k <= length; ++k) wide[k] = (unsigned char)statement[k];
            if (execute(wide) != 1) {
                fprintf(stderr, "insert %d failed\n", i);
                return 1;
            }
        }
        execute(commit);
        printf("call %.6f %d\n", Now() - start, count);
    } else {
        fprintf(stderr, "unknown mode %s\n", argv[3]);
        return 2;
    }
    close();
    dlclose(library);
    return 0;
}
