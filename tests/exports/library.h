// The built library, loaded by path as a host loads it.
#pragma once

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace orvanta::testing {

class Library {
public:
    using Open = int (*)(const char16_t*, const char16_t*);
    using Execute = int (*)(const char16_t*);
    using ExecuteQuery = int (*)(const char16_t*, char16_t*);
    using Close = void (*)();

    explicit Library(const char* path = ORVANTA_LIBRARY_PATH) : m_handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        if (!m_handle) throw std::runtime_error(std::string("dlopen: ") + dlerror());
        open = Symbol<Open>("fnDBOpen");
        execute = Symbol<Execute>("fnDBExecute");
        executeQuery = Symbol<ExecuteQuery>("fnDBExecuteQuery");
        close = Symbol<Close>("fnDBClose");
    }
    ~Library() { Unload(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    void Unload() {
        if (m_handle) dlclose(m_handle);
        m_handle = nullptr;
    }

    // True when the library is in the process, loaded by anyone.
    static bool IsLoaded(const char* path = ORVANTA_LIBRARY_PATH) {
        void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    }

    Open open = nullptr;
    Execute execute = nullptr;
    ExecuteQuery executeQuery = nullptr;
    Close close = nullptr;

private:
    template <class F>
    F Symbol(const char* name) {
        void* symbol = dlsym(m_handle, name);
        if (!symbol) throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<F>(symbol);
    }

    void* m_handle;
};

}  // namespace orvanta::testing
