#include "platformlog.h"

Q_LOGGING_CATEGORY(lcPlatform, "quillmark.platform")
