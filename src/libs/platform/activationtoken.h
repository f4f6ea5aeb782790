#pragma once

#include <QString>

// On Wayland a compositor brings a window to the front only for a request that carries an
// xdg-activation token. A launcher hands one to the program it starts in XDG_ACTIVATION_TOKEN,
// and Qt's Wayland plug-in reads that variable when a window asks to be activated (Qt 6.8 also
// when a window is first shown), using it up.

// The launcher's token, taken out of this program's environment, so that nothing this copy
// shows uses it before the copy knows whether another copy's window is the one to raise.
[[nodiscard]] QString takeActivationToken();

// While it lives, the token is in the environment (none puts nothing there); it is gone after,
// so the one window that asks meanwhile gets it, and no later window or started program does.
class ActivationTokenInEnvironment
{
public:
    explicit ActivationTokenInEnvironment(const QString &token);
    ~ActivationTokenInEnvironment();
    ActivationTokenInEnvironment(const ActivationTokenInEnvironment &) = delete;
    ActivationTokenInEnvironment &operator=(const ActivationTokenInEnvironment &) = delete;
};
