#include "diagram_file.h"
