#include "Canvas.h"
