// tests/common/env.h: an environment variable set for this process and its children, POSIX or Windows.
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
