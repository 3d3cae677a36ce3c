#pragma once

// The program's resources, named in zenporo.rc and loaded by id. Plain macros: the resource compiler reads
// this file too.
#define ZENPORO_ICON 1
#define ZENPORO_PICTURES 101
#define ZENPORO_SWITCH_PICTURE 102
#define ZENPORO_MINIMIZE_PICTURE 103
#define ZENPORO_OPEN_HORIZONTAL_PICTURE 104
#define ZENPORO_OPEN_VERTICAL_PICTURE 105
#define ZENPORO_USER_FILE_PICTURE 106
#define ZENPORO_SAVE_PICTURE 107
