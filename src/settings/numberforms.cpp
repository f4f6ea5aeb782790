#include "numberforms.h"
