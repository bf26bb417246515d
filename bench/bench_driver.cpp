// Runs every contender as its own process on the same database, in the same run, and prints
// times, peak memory and their ratios to the SQLite shell's CSV export.
//
//   orvanta-bench [--rows 10000,100000,1000000] [--dir DIR] [--repeats 5] [--inserts 100000] [--runs 3]
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "dataset.h"

namespace {

struct Run {
    double wall = 0;        // seconds, the whole process
    double peakMegabytes = 0;
    std::vector<double> calls;  // seconds of each timed call the program reported
    std::vector<long> faults;   // page faults of each timed call, where reported
    double medianCall = 0;
    std::string hash;
    std::size_t chars = 0;
};

// Runs a program, its standard output captured, and measures it as the kernel accounts it.
Run Measure(const std::vector<std::string>& argv, bool discardOutput = false) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (discardOutput) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
        } else {
            dup2(pipeFds[1], 1);
        }
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("failed: " + argv[0] + " " + (argv.size() > 1 ? argv[1] : ""));
    }
    std::istringstream lines(output);
    for (std::string word; lines >> word;) {
        if (word == "call") {
            double seconds;
            int records;
            lines >> seconds >> records;
            run.calls.push_back(seconds);
            std::string rest;
            std::getline(lines, rest);
            if (!rest.empty()) run.faults.push_back(std::stol(rest));
        } else if (word == "hash") {
            lines >> run.hash;
        } else if (word == "chars") {
            lines >> run.chars;
        }
    }
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The median run of several, by wall time; each contender runs in turn, so drift hits all alike.
template <class Make>
std::vector<Run> Repeat(int runs, Make make) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) all.push_back(make());
    return all;
}

Run MedianRun(std::vector<Run> runs, double Run::*key) {
    std::sort(runs.begin(), runs.end(), [&](const Run& a, const Run& b) { return a.*key < b.*key; });
    return runs[runs.size() / 2];
}

std::vector<int> ParseList(const char* text) {
    std::vector<int> values;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) values.push_back(std::stoi(item));
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {10000, 100000, 1000000};
    std::string dir = "/tmp/orvanta-bench";
    int repeats = 5;
    int inserts = 100000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--rows")) sizes = ParseList(argv[i + 1]);
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
        if (!std::strcmp(argv[i], "--repeats")) repeats = std::stoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--inserts")) inserts = std::stoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--runs")) runs = std::stoi(argv[i + 1]);
    }
    std::filesystem::create_directories(dir);

    std::printf("%-9s %-28s %9s %9s %10s %8s\n", "rows", "contender", "seconds", "x shell", "peak MB", "x block");
    double previousOnce = 0;
    int previousRows = 0;
    for (int rows : sizes) {
        const std::string database = dir + "/bench-" + std::to_string(rows) + ".db";
        if (!std::filesystem::exists(database)) CreateDataset(database, rows);

        const Run shell = MedianRun(Repeat(runs, [&] {
            return Measure({"sqlite3", "-csv", database, "SELECT * FROM bench"}, true);
        }), &Run::wall);
        const Run floor = MedianRun(Repeat(runs, [&] {
            return Measure({ORVANTA_BENCH_FLOOR, "query", database});
        }), &Run::wall);
        const std::string chars = std::to_string(floor.chars + 1);
        const Run once = MedianRun(Repeat(runs, [&] {
            return Measure({ORVANTA_BENCH_HOST, ORVANTA_BENCH_LIBRARY, database, "query", "1", chars});
        }), &Run::wall);
        std::vector<Run> severalRuns = Repeat(runs, [&] {
            Run run = Measure({ORVANTA_BENCH_HOST, ORVANTA_BENCH_LIBRARY, database, "query", std::to_string(repeats), chars});
            run.medianCall = Median(run.calls);
            return run;
        });
        const Run several = MedianRun(severalRuns, &Run::medianCall);
        const double blockMegabytes = static_cast<double>(floor.chars) * 2 / (1024.0 * 1024.0);

        const auto row = [&](const char* name, double seconds, double peak) {
            std::printf("%-9d %-28s %9.3f %9.2f %10.1f %8.2f\n", rows, name, seconds, seconds / shell.wall, peak,
                        peak / blockMegabytes);
        };
        row("sqlite3 -csv (shell)", shell.wall, shell.peakMegabytes);
        row("floor: sqlite3 API to block", floor.wall, floor.peakMegabytes);
        row("library, one query", once.wall, once.peakMegabytes);
        const std::string repeated = "library, median of " + std::to_string(repeats);
        row(repeated.c_str(), several.medianCall, several.peakMegabytes);
        if (several.faults.size() > 1) {
            std::printf("%-9d %-28s %ld on the first call, %ld on the last\n", rows, "page faults", several.faults.front(),
                        several.faults.back());
        }
        std::printf("%-9d %-28s %9.1f MB (%zu characters)%s\n", rows, "block", blockMegabytes, floor.chars,
                    once.hash == floor.hash ? ", same as the floor's" : ", DIFFERENT from the floor's");
        if (previousRows) {
            std::printf("%-9d %-28s %9.2f for %.0fx the rows\n", rows, "growth of one query", once.wall / previousOnce,
                        static_cast<double>(rows) / previousRows);
        }
        previousOnce = once.wall;
        previousRows = rows;
    }

    if (inserts > 0) {
        const auto insertRun = [&](const std::vector<std::string>& command, const std::string& database) {
            std::filesystem::remove(database);
            return Measure(command);
        };
        const std::string database = dir + "/inserts.db";
        const Run exec = MedianRun(Repeat(runs, [&] {
            return insertRun({ORVANTA_BENCH_FLOOR, "inserts", database, std::to_string(inserts)}, database);
        }), &Run::wall);
        const Run library = MedianRun(Repeat(runs, [&] {
            return insertRun({ORVANTA_BENCH_HOST, ORVANTA_BENCH_LIBRARY, database, "inserts", std::to_string(inserts)},
                             database);
        }), &Run::wall);
        std::printf("\n%d single-row INSERTs in one transaction\n", inserts);
        std::printf("  sqlite3_exec each:   %7.3f s (%.2f us each)\n", exec.calls[0], exec.calls[0] * 1e6 / inserts);
        std::printf("  fnDBExecute each:    %7.3f s (%.2f us each), %.2fx\n", library.calls[0],
                    library.calls[0] * 1e6 / inserts, library.calls[0] / exec.calls[0]);
    }
    return 0;
}
