// A command-line host: loads the library by path, as any host does, opens a connection and runs
// the statements given as arguments, or one per line from standard input.
//
//   orvanta-host [--library PATH] CONNECTION-STRING [STATEMENT...]
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using OpenFunction = int (*)(const char16_t*, const char16_t*);
using ExecuteFunction = int (*)(const char16_t*);
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

std::string DefaultLibrary(const char* argv0) {
    std::string path = argv0;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) + ORVANTA_DEFAULT_LIBRARY;
}

int Usage() {
    std::fprintf(stderr, "usage: orvanta-host [--library PATH] CONNECTION-STRING [STATEMENT...]\n"
                         "Without statements, runs one statement per line of standard input.\n");
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
    auto close = reinterpret_cast<CloseFunction>(dlsym(handle, "fnDBClose"));
    if (!open || !execute || !close) {
        std::fprintf(stderr, "%s does not export the library's functions\n", library.c_str());
        return 1;
    }

    if (open(nullptr, Widen(args[0]).c_str()) != 1) {
        std::fprintf(stderr, "open failed\n");
        dlclose(handle);
        return 1;
    }
    std::printf("opened\n");

    const auto run = [&](const std::string& statement) {
        if (statement.find_first_not_of(" \t\r") == std::string::npos) return;
        const int affected = execute(Widen(statement).c_str());
        std::printf("%s\n  -> %d\n", statement.c_str(), affected);
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
