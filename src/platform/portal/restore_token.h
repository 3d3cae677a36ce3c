#pragma once

#include <string>

// The desktop's token that restores an allowed remote-control session without asking again. It belongs to
// this desktop, not to the user's data, so it lives in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state), never beside the program.
std::string DefaultRestoreTokenPath();

// The stored token; empty when there is none or it cannot be read.
std::string ReadRestoreToken(const std::string& path);
// Replaces the stored token, creating its folder; an empty token removes it. False when that failed.
bool StoreRestoreToken(const std::string& path, const std::string& token);
