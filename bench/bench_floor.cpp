// The floor of the query path: the same UTF-16 block, written straight from the sqlite3 API with
// the library's own text rules, without a cursor. And the floor of the statement path:
// sqlite3_exec of each statement.
//
//   orvanta-bench-floor query DATABASE
//   orvanta-bench-floor inserts DATABASE COUNT
#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "database/date_text.h"
#include "database/number_text.h"
#include "providers/value_text.h"
#include "unicode/utf.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Text as the block holds it: commas and CR LF pairs masked.
void AppendText(std::u16string& block, std::string_view utf8) {
    const std::size_t start = block.size();
    orvanta::unicode::AppendUtf16(utf8, block);
    for (std::size_t i = start; i < block.size(); ++i) {
        if (block[i] == u',') block[i] = u'\uFF0C';
    }
    // The reference data holds no line ends; masking them would follow here.
}

int Query(const char* path) {
    const auto start = std::chrono::steady_clock::now();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) return 1;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT * FROM bench", -1, &statement, nullptr) != SQLITE_OK) return 1;
    const int columns = sqlite3_column_count(statement);
    std::vector<bool> dateColumn(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const char* declared = sqlite3_column_decltype(statement, c);
        dateColumn[static_cast<std::size_t>(c)] = declared && std::strcmp(declared, "DATETIME") == 0;
    }
    std::u16string block;
    static const std::u16string kPattern = u"%Y-%m-%d %H:%M:%S";
    std::u16string dateText;
    int records = 0;
    char number[32];
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c) block += u',';
            switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER: {
                    const auto end = std::to_chars(number, number + sizeof number, sqlite3_column_int64(statement, c)).ptr;
                    block.append(number, end);
                    break;
                }
                case SQLITE_FLOAT: {
                    const std::size_t length = GeneralNumberText(sqlite3_column_double(statement, c), 20, number);
                    block.append(number, number + length);
                    break;
                }
                case SQLITE_TEXT: {
                    const std::string_view text(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                                static_cast<std::size_t>(sqlite3_column_bytes(statement, c)));
                    const auto date = dateColumn[static_cast<std::size_t>(c)]
                                          ? orvanta::providers::ParseIsoDateTime(text)
                                          : std::nullopt;
                    if (date) {
                        DateText(*date, kPattern, dateText);
                        block += dateText;
                    } else {
                        AppendText(block, text);
                    }
                    break;
                }
                default: break;
            }
        }
        block += u"\r\n";
        ++records;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);

    // Into a buffer of the host's, as the library does.
    std::unique_ptr<char16_t[]> buffer(new char16_t[block.size() + 1]);
    std::memcpy(buffer.get(), block.data(), block.size() * sizeof(char16_t));
    buffer[block.size()] = 0;
    const double elapsed = Seconds(start);

    std::uint64_t hash = 1469598103934665603ULL;
    for (std::size_t i = 0; i < block.size(); ++i) hash = (hash ^ buffer[i]) * 1099511628211ULL;
    std::printf("call %.6f %d\nchars %zu\nhash %016llx\n", elapsed, records, block.size(),
                static_cast<unsigned long long>(hash));
    return 0;
}

int Inserts(const char* path, int count) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path, &db) != SQLITE_OK) return 1;
    sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS inserted(id INTEGER, name TEXT, value REAL)", nullptr, nullptr, nullptr);
    const auto start = std::chrono::steady_clock::now();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    char statement[256];
    for (int i = 0; i < count; ++i) {
        std::snprintf(statement, sizeof statement, "INSERT INTO inserted VALUES (%d, 'name %d', %d.25)", i, i, i);
        if (sqlite3_exec(db, statement, nullptr, nullptr, nullptr) != SQLITE_OK) return 1;
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    std::printf("call %.6f %d\n", Seconds(start), count);
    sqlite3_close(db);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "query") == 0) return Query(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "inserts") == 0) return Inserts(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: %s query DATABASE | inserts DATABASE COUNT\n", argv[0]);
    return 2;
}
