#include "run_pipelines.h"

void RunFromDiagram(plat::Dialog& /*outputDialog*/) {}
