/* A minimal C host: open a SQLite file, create and fill a table, query it, close.
 *   cc c_host.c -o c_host -ldl && ./c_host ./liborvanta64.so /tmp/example.db
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <uchar.h>

typedef int (*Open)(const char16_t*, const char16_t*);
typedef int (*Execute)(const char16_t*);
typedef int (*Query)(const char16_t*, char16_t*);
typedef void (*Close)(void);

/* ASCII to UTF-16; real hosts convert their text with their own tools. */
static void Widen(const char* text, char16_t* out) {
    do *out++ = (unsigned char)*text; while (*text++);
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    void* library = dlopen(argv[1], RTLD_NOW);
    if (!library) return 1;
    Open open = (Open)dlsym(library, "fnDBOpen");
    Execute execute = (Execute)dlsym(library, "fnDBExecute");
    Query query = (Query)dlsym(library, "fnDBExecuteQuery");
    Close close = (Close)dlsym(library, "fnDBClose");

    char text[512];
    char16_t wide[512];
    snprintf(text, sizeof text, "Provider=SQLite;Data Source=%s", argv[2]);
    Widen(text, wide);
    if (open(NULL, wide) != 1) return 1;

    Widen("CREATE TABLE IF NOT EXISTS item(id INTEGER, name TEXT)", wide);
    execute(wide);
    Widen("INSERT INTO item VALUES (1, 'one'), (2, 'two, too')", wide);
    printf("inserted %d rows\n", execute(wide));

    /* The block needs two bytes per character plus the terminating null: two short rows here. */
    char16_t* block = malloc(4096 * sizeof(char16_t));
    Widen("SELECT id, name FROM item ORDER BY id", wide);
    int records = query(wide, block);
    printf("%d records:\n", records);
    for (char16_t* c = block; *c; ++c) putchar(*c < 0x80 ? (int)*c : '?');

    free(block);
    close();
    dlclose(library);
    return 0;
}
