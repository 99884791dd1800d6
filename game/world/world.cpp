#include "world/world.h"

World world;
