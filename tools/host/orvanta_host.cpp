// A command-line host: loads the library by path, as any host does, opens a connection and runs the
// statements given as arguments, or one per line from standard input. Statements that return rows
// (SELECT, WITH, VALUES, PRAGMA, or any statement written after "?") print their text block.
//
//   orvanta-host [--library PATH] CONNECTION-STRING [STATEMENT...]
#include <dlfcn.h>
#include <sys/mman.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "unicode/utf.h"

namespace {

using OpenFunction = int (*)(const char16_t*, const char16_t*);
using ExecuteFunction = int (*)(const char16_t*);
using QueryFunction = int (*)(const char16_t*, char16_t*);
using CloseFunction = void (*)();

std::u16string Widen(const std::string& utf8) {
    std::u16string wide;
    orvanta::unicode::AppendUtf16(utf8, wide);
    return wide;
}

std::string Narrow(const char16_t* text) {
    std::string utf8;
    if (!orvanta::unicode::AppendUtf8(text, utf8)) return "(text with a lone surrogate)";
    return utf8;
}

bool ReturnsRows(std::string& statement) {
    std::size_t start = statement.find_first_not_of(" \t\r\n");
    if (start != std::string::npos && statement[start] == '?') {
        statement.erase(0, start + 1);
        return true;
    }
    std::string word;
    for (std::size_t i = start; i < statement.size() && std::isalpha(static_cast<unsigned char>(statement[i])); ++i) {
        word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(statement[i]))));
    }
    return word == "SELECT" || word == "WITH" || word == "VALUES" || word == "PRAGMA";
}

// The interface gives the buffer no size, so the host reserves more address space than any block
// can need; only the pages the library writes take memory.
class QueryBuffer {
public:
    QueryBuffer() {
        for (std::size_t bytes = sizeof(void*) == 8 ? std::size_t{64} << 30 : std::size_t{1} << 30; bytes >= (1u << 24);
             bytes /= 2) {
            void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
            if (memory != MAP_FAILED) {
                m_memory = static_cast<char16_t*>(memory);
                m_bytes = bytes;
                return;
            }
        }
    }
    ~QueryBuffer() {
        if (m_memory) munmap(m_memory, m_bytes);
    }
    char16_t* Get() const { return m_memory; }

private:
    char16_t* m_memory = nullptr;
    std::size_t m_bytes = 0;
};

int Usage() {
    std::fprintf(stderr, "usage: orvanta-host [--library PATH] CONNECTION-STRING [STATEMENT...]\n"
                         "Without --library, loads " ORVANTA_DEFAULT_LIBRARY ".\n"
                         "Without statements, runs one statement per line of standard input.\n"
                         "Statements that return rows print their text block; put '?' before any other\n"
                         "statement to run it as a query.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string library = ORVANTA_DEFAULT_LIBRARY;
    if (args.size() >= 2 && args[0] == "--library") {
        library = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == "--help") return Usage();

    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "cannot load %s: %s\n", library.c_str(), dlerror());
        return 1;
    }
    auto open = reinterpret_cast<OpenFunction>(dlsym(handle, "fnDBOpen"));
    auto execute = reinterpret_cast<ExecuteFunction>(dlsym(handle, "fnDBExecute"));
    auto query = reinterpret_cast<QueryFunction>(dlsym(handle, "fnDBExecuteQuery"));
    auto close = reinterpret_cast<CloseFunction>(dlsym(handle, "fnDBClose"));
    if (!open || !execute || !query || !close) {
        std::fprintf(stderr, "%s does not export the library's functions\n", library.c_str());
        return 1;
    }

    if (open(nullptr, Widen(args[0]).c_str()) != 1) {
        std::fprintf(stderr, "open failed\n");
        dlclose(handle);
        return 1;
    }
    std::printf("opened\n");

    QueryBuffer buffer;
    const auto run = [&](std::string statement) {
        if (statement.find_first_not_of(" \t\r") == std::string::npos) return;
        if (ReturnsRows(statement)) {
            if (!buffer.Get()) {
                std::fprintf(stderr, "no memory for a query buffer\n");
                return;
            }
            const int records = query(Widen(statement).c_str(), buffer.Get());
            std::printf("%s\n  -> %d record(s)\n%s", statement.c_str(), records, Narrow(buffer.Get()).c_str());
            buffer.Get()[0] = 0;  // a failed query leaves the buffer as it was
        } else {
            std::printf("%s\n  -> %d\n", statement.c_str(), execute(Widen(statement).c_str()));
        }
    };
    if (args.size() > 1) {
        for (std::size_t i = 1; i < args.size(); ++i) run(args[i]);
    } else {
        for (std::string line; std::getline(std::cin, line);) run(line);
    }

    close();
    std::printf("closed\n");
    dlclose(handle);
    return 0;
}
