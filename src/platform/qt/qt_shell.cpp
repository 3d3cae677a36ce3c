#include "platform/qt/qt_shell.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

bool QtShell::openUrl(const std::string& sjisUrl) {
    const QUrl url(QStringFromSjis(sjisUrl));
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::openFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}
