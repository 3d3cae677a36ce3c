#include "data/file_log.h"

Q_LOGGING_CATEGORY(lcFiles, "zenporo.files", QtInfoMsg)
