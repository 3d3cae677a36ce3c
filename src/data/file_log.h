#pragma once

#include <QLoggingCategory>

// What the program did with files on its own: user files it left out, temporaries it removed. Off unless
// QT_LOGGING_RULES="zenporo.files.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
