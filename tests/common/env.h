// tests/common/env.h: setting an environment variable for this process and the programs it starts, on
// POSIX systems and on Windows alike (where the C runtime knows no setenv). Header only.
#pragma once

#include <cstdlib>
#include <string>

namespace zk_test {

inline void SetEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

}   // namespace zk_test
