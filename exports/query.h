#pragma once

#include <windows.h>

#include "database/ado_database.h"
#include "exports/text_block.h"

// Runs `query` on `database` and writes every row into `buffer` as one comma-separated block with
// a terminating null; returns the record count. Any failure writes the debugger line, leaves
// `buffer` untouched and returns 0. The block is built in `block`, whose memory is reused.
int ExecuteQueryIntoBuffer(const CADODatabase& database, LPCWSTR query, LPWSTR buffer, CTextBlock& block) noexcept;
