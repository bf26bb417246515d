#include "dataset.h"

#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <stdexcept>

namespace {

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(db));
}

}  // namespace

void CreateDataset(const std::string& path, int rows) {
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.c_str(), &db), db);
    Check(sqlite3_exec(db,
                       "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                       "CREATE TABLE bench(id INTEGER PRIMARY KEY, number INTEGER, real REAL, name TEXT, "
                       "stamp DATETIME, note TEXT); BEGIN",
                       nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO bench VALUES (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr), db);

    std::mt19937 random(42);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::uniform_int_distribution<int> length(8, 24);
    std::uniform_int_distribution<int> percent(0, 99);
    char name[32];
    char stamp[32];
    char note[32];
    for (int i = 1; i <= rows; ++i) {
        const int n = length(random);
        for (int k = 0; k < n; ++k) name[k] = static_cast<char>(letter(random));
        if (percent(random) < 25) name[n / 2] = ',';
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", 2000 + static_cast<int>(random() % 30),
                      1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28),
                      static_cast<int>(random() % 24), static_cast<int>(random() % 60),
                      static_cast<int>(random() % 60));
        const double real = static_cast<double>(random() % 100000) + static_cast<double>(random() % 1000000) / 1e6;

        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_int(insert, 2, static_cast<int>(random()));
        sqlite3_bind_double(insert, 3, real);
        sqlite3_bind_text(insert, 4, name, n, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, stamp, -1, SQLITE_STATIC);
        if (percent(random) < 30) {
            sqlite3_bind_null(insert, 6);
        } else {
            std::snprintf(note, sizeof note, "note %d", static_cast<int>(random() % 100000));
            sqlite3_bind_text(insert, 6, note, -1, SQLITE_STATIC);
        }
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}
