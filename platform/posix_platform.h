#pragma once

// The POSIX key poll: true while a key press waits unread on a terminal on
// standard input; always false without a terminal.
namespace platform {
bool posixKeyPressWaiting();
}  // namespace platform
