#include "linereader.h"
