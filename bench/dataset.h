#pragma once

#include <string>

// The reference table "bench": id, a 32-bit integer, a double, text of 8 to 24 characters (a quarter
// of them with commas), a date-time text in a DATETIME column, and a text that is NULL in 30% of rows.
void CreateDataset(const std::string& path, int rows);
