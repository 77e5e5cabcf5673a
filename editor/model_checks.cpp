#include "model_checks.h"
