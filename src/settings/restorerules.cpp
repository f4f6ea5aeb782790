#include "restorerules.h"
