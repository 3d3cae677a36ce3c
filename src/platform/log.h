#pragma once

#include <string_view>

// What a log line is about; each category can be switched on by itself.
enum class LogCategory { Delivery, Files, Settings };

// Lines for a user's later question ("nothing was pasted, why?"); off unless the user switches them on.
class Log {
  public:
    virtual ~Log() = default;
    virtual void write(LogCategory category, std::string_view utf8Message) = 0;
};
