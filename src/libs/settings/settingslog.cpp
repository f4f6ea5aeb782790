#include "settingslog.h"

Q_LOGGING_CATEGORY(lcSettings, "quillmark.settings")
