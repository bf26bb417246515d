#pragma once

#include <windows.h>

#include "database/ado_database.h"

// Runs `query` on `database` and writes every row into `buffer` as one comma-separated block with
// a terminating null; returns the record count. Any failure writes the debugger line, leaves
// `buffer` untouched and returns 0.
int ExecuteQueryIntoBuffer(const CADODatabase& database, LPCWSTR query, LPWSTR buffer) noexcept;
