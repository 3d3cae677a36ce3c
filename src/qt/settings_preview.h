#pragma once

#include <QImage>
#include <QString>

#include <optional>

// A browsed picture for a preview of the settings dialog: read as the kind its extension names (bitmap or
// icon; metafiles and anything else the toolkit cannot read fail), cut to its top-left 16x16 pixels on a
// transparent ground. Nothing when the file cannot be read.
std::optional<QImage> LoadPreviewPicture(const QString& path);
