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

namespace {

using OpenFunction = int (*)(const char16_t*, const char16_t*);
using ExecuteFunction = int (*)(const char16_t*);
using QueryFunction = int (*)(const char16_t*, char16_t*);
using CloseFunction = void (*)();

std::u16string Widen(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
        i += length;
        if (code >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::string Narrow(const char16_t* text) {
    std::string out;
    for (std::size_t i = 0; text[i] != 0; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
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

std::string DefaultLibrary(const char* argv0) {
    std::string path = argv0;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) + ORVANTA_DEFAULT_LIBRARY;
}

int Usage() {
    std::fprintf(stderr, "usage: orvanta-host [--library PATH] CONNECTION-STRING [STATEMENT...]\n"
                         "Without statements, runs one statement per line of standard input.\n"
                         "Statements that return rows print their text block; put '?' before any other\n"
                         "statement to run it as a query.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string library = DefaultLibrary(argv[0]);
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
