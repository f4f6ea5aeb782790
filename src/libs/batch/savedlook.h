#pragma once

#include "logic/envelopepage.h"

class SettingsStore;

// What the window would print every envelope with: the saved choices, the
// return address and the switches, read with the rules start-up uses. A
// missing settings folder (an empty store) gives what a first start shows;
// nothing is written.
[[nodiscard]] EnvelopeLook savedLook(const SettingsStore &store);

// The logo the window shows: the saved picture, else the placeholder.
[[nodiscard]] QImage savedLogo(const SettingsStore &store);
