#pragma once

#include <fstream>
#include <iterator>
#include <string>

// The last characters of a program's output file, for a failure message.
inline std::string logTail(const std::string& path, std::size_t length) {
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return text.size() <= length ? text : text.substr(text.size() - length);
}
