#pragma once

#include "platform/log.h"

// Writes through Qt's logging categories "zenporo.delivery", "zenporo.files" and "zenporo.settings", which
// are off by default and switched on with QT_LOGGING_RULES, e.g. "zenporo.delivery=true".
class QtLog : public Log {
  public:
    void write(LogCategory category, std::string_view utf8Message) override;
};
