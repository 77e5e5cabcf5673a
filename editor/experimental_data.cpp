#include "experimental_data.h"
