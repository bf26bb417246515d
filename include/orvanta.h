/* The four functions of the library, for hosts written in C or C++.
 *
 * Load liborvanta64.so into a 64-bit host, liborvanta.so into a 32-bit host. All text is
 * null-terminated UTF-16. The library serialises its calls: a host may call from any thread.
 */
#ifndef ORVANTA_H
#define ORVANTA_H

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

/* Opens the connection described by `connection_string` (the first argument is not read).
 * An empty string opens the last non-empty one again. Returns 1 when opened, else 0. */
int fnDBOpen(const char16_t* unused, const char16_t* connection_string);

/* Runs a statement that returns no rows. Returns the rows it affected (-1 when the statement
 * does not count rows, such as DDL), or 0 when it failed. */
int fnDBExecute(const char16_t* statement);

/* Runs a query and writes all of its rows into `buffer` as one text block: fields separated by
 * ",", every row ended by CR LF, then a null character. Returns the number of rows, or 0 when the
 * query failed (the buffer is then left untouched). The buffer must hold the whole block. */
int fnDBExecuteQuery(const char16_t* query, char16_t* buffer);

/* Closes the connection; the connection string stays remembered. */
void fnDBClose(void);

#ifdef __cplusplus
}
#endif

#endif
