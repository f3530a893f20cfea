#pragma once
// Sets or clears an environment variable for one scope and restores it.

#include <cstdlib>
#include <optional>
#include <string>

class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        set(value);
    }
    ~EnvOverride() { set(m_old ? m_old->c_str() : nullptr); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
#ifdef _WIN32
    // An empty value removes the variable on Windows; there is no empty one.
    void set(const char* value) { ::_putenv_s(m_name, value ? value : ""); }
#else
    void set(const char* value) { value ? ::setenv(m_name, value, 1) : ::unsetenv(m_name); }
#endif
    const char* m_name;
    std::optional<std::string> m_old;
};
