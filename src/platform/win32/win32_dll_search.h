#pragma once

// Makes every later LoadLibrary of this process, of ours or inside Windows' own libraries, look in System32
// alone: never in the program's own folder (often Downloads, where anyone's files land) nor in the current
// folder. Call it first thing at start; false when Windows refused.
bool restrictDllSearchToSystem32();
