#include "settingsstore.h"
Q_LOGGING_CATEGORY(lcSettings, "quillmark.settings")
