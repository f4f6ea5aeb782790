#include "numericvalue.h"
