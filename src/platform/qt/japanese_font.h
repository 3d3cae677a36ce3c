#pragma once

#include <QFont>

// The layout's proportional Gothic font when installed, else IPA P Gothic, which is metrically close to it.
QFont JapaneseUiFont(int pixelSize);
