#include "printing.h"
