#include "model_source_writer.h"
