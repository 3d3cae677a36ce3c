#pragma once

struct PlatformServices;

// Builds the toolbar window and its behaviour on the platform's services, runs the shared start order and the
// message loop, and writes the settings at the end; the process's exit code.
int RunToolbar(PlatformServices& platform);
